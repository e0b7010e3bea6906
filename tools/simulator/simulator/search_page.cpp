#include "simulator/search_page.h"

#include "simulator/detail_page.h"
#include "simulator/html_text.h"
#include "simulator/search_query.h"

namespace marvolt::sim {

namespace {

std::string_view KindTitle(VehicleKind kind) {
    switch (kind) {
        case VehicleKind::Motorcycles:
            return "Used motorcycles";
        case VehicleKind::Trucks:
            return "Used trucks and vans";
        default:
            return "Used cars";
    }
}

void Entry(std::string& page, const Listing& listing) {
    const std::string id = std::to_string(listing.id);
    const std::string details = "/fahrzeuge/showDetails.html?id=" + id + "&amp;lang=en";
    page += "\t\t<!-- result " + id + " -->\r\n";
    page += std::string("\t\t<div class=\"cBox-body cBox-body--resultitem listEntry ") +
            (listing.featured ? "eyecatcherContainer" : "normalAd") + "\" data-position=\"" + id +
            "\">\r\n";
    page += "\t\t\t<a class=\"link--muted no--text--decoration result-item\" href=\"" + details +
            "\">\r\n";
    page += "\t\t\t\t<div class=\"headline-block\"><span class=\"h3 u-text-break-word\">" +
            EscapeHtml(listing.headline) + "</span></div>\r\n";
    page += "\t\t\t\t<div class=\"price-block\"><span class=\"h3\">EUR " +
            WithThousands(listing.price) + "</span></div>\r\n";
    page += "\t\t\t\t<div class=\"rbt-regMilPow\">FR " + listing.FirstRegistration() + ", " +
            WithThousands(listing.mileage) + " km, " + std::to_string(listing.power) +
            " kW</div>\r\n";
    page += "\t\t\t\t<div>" + EscapeHtml(listing.fuelLabel) + ", " + GearboxLabel(listing) +
            (listing.damaged ? ", damaged" : "") + "</div>\r\n";
    page += "\t\t\t</a>\r\n";
    page += std::string("\t\t\t<div class=\"seller-info\">") +
            (listing.seller.type == 1 ? "Dealer" : "Private seller") + ", " +
            listing.seller.countryCode + "-" + EscapeHtml(listing.seller.city) + "</div>\r\n";
    page +=
        "\t\t\t<label class=\"park\"><input type=\"checkbox\" name=\"parkAndCompare\" value=\"" +
        id + "\" data-source=\"srp\"/> Park</label>\r\n";
    page += "\t\t</div>\r\n";
}

}  // namespace

std::string RenderSearchPage(const SearchPageContent& content) {
    std::string page;
    page.reserve(4096 + content.entries.size() * 1200);
    page += "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n";
    page += "\t<meta charset=\"UTF-8\"/>\r\n";
    page += "\t<title>" + std::string(KindTitle(content.kind)) + " for sale - " +
            std::to_string(content.total) + " offers</title>\r\n";
    page += "\t<!-- search results, rendered for the classic layout -->\r\n";
    page +=
        "\t<style type=\"text/css\">\r\n\t\t.listEntry.normalAd { border-bottom: 1px solid "
        "#ddd; }\r\n\t\t.listEntry.eyecatcherContainer { background: #fff8e0; }\r\n\t</style>"
        "\r\n";
    page += "\t<script type=\"text/javascript\">\r\n\t\tvar searchResult = {\"total\": " +
            std::to_string(content.total) + ", \"page\": " + std::to_string(content.pageNumber) +
            "};\r\n\t\tif (document.cookie.indexOf('consent=1') < 0) { /* ask for consent */ }\r\n"
            "\t</script>\r\n";
    page += "</head>\r\n<body class=\"srp\">\r\n";
    page += "\t<div id=\"header\"><a href=\"/\">Vehicle market</a></div>\r\n";
    page += "\t<h1 class=\"result-count\">" +
            WithThousands(static_cast<std::int64_t>(content.total)) + " offers</h1>\r\n";
    page += "\t<div class=\"result-list\">\r\n";
    if (content.entries.empty()) {
        page += "\t\t<p class=\"no-results\">No offers match your search. Try widening it.</p>\r\n";
    }
    for (const auto& listing : content.entries) {
        Entry(page, listing);
    }
    page += "\t</div>\r\n";
    if (content.pageCount > 1) {
        page += "\t<ul class=\"pagination\">\r\n";
        const std::string path = "/" + std::string(KindSegment(content.kind)) + "/search.html?";
        for (int number = 1; number <= content.pageCount && number <= 5; ++number) {
            page += "\t\t<li><a href=\"" + path + EscapeHtml(content.query) +
                    "&amp;pageNumber=" + std::to_string(number) + "\">" + std::to_string(number) +
                    "</a></li>\r\n";
        }
        page += "\t</ul>\r\n";
    }
    page += "\t<div id=\"footer\">&copy; Vehicle market</div>\r\n</body>\r\n</html>\r\n";
    return page;
}

}  // namespace marvolt::sim
