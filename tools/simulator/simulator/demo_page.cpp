#include "simulator/demo_page.h"

#include "simulator/detail_page.h"
#include "simulator/html_text.h"
#include "simulator/search_query.h"

namespace marvolt::sim {

std::string RenderHomePage(const std::vector<Listing>& newest,
                           const std::vector<SmsMessage>& messages, int balance, TimePoint now) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"UTF-8\"/>\n"
        "<meta http-equiv=\"refresh\" content=\"15\"/>\n<title>Vehicle market (stand-in)</title>\n"
        "<style>body{font-family:sans-serif;margin:1.5em}table{border-collapse:collapse}"
        "td,th{padding:4px 8px;border-bottom:1px solid #ddd;text-align:left;vertical-align:top}"
        "img{display:block}</style>\n</head>\n<body>\n";
    page += "<h1>Vehicle market (stand-in)</h1>\n<p>Now: " + FormatTime(now) +
            ". Search pages: <a href=\"/auto/search.html?daysAfterCreation=1\">cars</a>, "
            "<a href=\"/motorrad/search.html?daysAfterCreation=1\">motorcycles</a>, "
            "<a href=\"/lkw/search.html?daysAfterCreation=1\">trucks</a>.</p>\n";
    page +=
        "<h2>Latest listings</h2>\n<table>\n<tr><th></th><th>Listing</th><th>Kind</th>"
        "<th>Price</th><th>Seller</th><th>Online since</th></tr>\n";
    for (const auto& listing : newest) {
        const std::string id = std::to_string(listing.id);
        page += "<tr><td>";
        if (listing.hasPicture) {
            page +=
                "<img src=\"" + PicturePath(listing) + "\" width=\"96\" height=\"72\" alt=\"\"/>";
        }
        page += "</td><td><a href=\"/fahrzeuge/showDetails.html?id=" + id + "\">" +
                EscapeHtml(listing.headline) + "</a><br/><small>" + id +
                " &middot; <a href=\"/fahrzeuge/printView.html?lang=en&amp;id=" + id +
                "\">print view</a></small></td><td>" + std::string(KindSegment(listing.kind)) +
                "</td><td>EUR " + WithThousands(listing.price) + "</td><td>" +
                (listing.seller.type == 1 ? "Dealer" : "Private") + ", " +
                EscapeHtml(listing.seller.city) + ", " + listing.seller.countryCode + "</td><td>" +
                FormatTime(listing.created) + "</td></tr>\n";
    }
    page += "</table>\n<h2>SMS gateway</h2>\n<p>Messages left: " + std::to_string(balance) +
            "</p>\n<table>\n<tr><th>Id</th><th>To</th><th>Text</th><th>Received</th></tr>\n";
    for (auto message = messages.rbegin(); message != messages.rend(); ++message) {
        std::string text = EscapeHtml(message->text);
        for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 5)) {
            text.replace(at, 1, "<br/>");
        }
        page += "<tr><td>" + message->id + "</td><td>" + EscapeHtml(message->to) + "</td><td>" +
                text + "</td><td>" + FormatTime(message->received) + "</td></tr>\n";
    }
    if (messages.empty()) {
        page += "<tr><td colspan=\"4\">No messages yet.</td></tr>\n";
    }
    page += "</table>\n</body>\n</html>\n";
    return page;
}

std::string RenderStatusPage(int status, const std::string& message) {
    return "<!DOCTYPE html>\r\n<html lang=\"en\"><head><meta charset=\"UTF-8\"/><title>" +
           std::to_string(status) + " " + EscapeHtml(message) + "</title></head>\r\n<body><h1>" +
           EscapeHtml(message) + "</h1><p><a href=\"/\">Vehicle market</a></p></body></html>\r\n";
}

}  // namespace marvolt::sim
