#include "simulator/detail_page.h"

#include <cmath>
#include <ctime>

#include "simulator/html_text.h"

namespace marvolt::sim {

namespace {

// Source lines end in CR LF and are indented with TABs, as the real pages are; neither may
// fall inside a text the scanner reads.
class PageWriter {
  public:
    void Line(int indent, std::string_view text) {
        page_.append(static_cast<std::size_t>(indent), '\t');
        page_ += text;
        page_ += "\r\n";
    }
    std::string Take() { return std::move(page_); }

  private:
    std::string page_;
};

std::string Esc(const Listing& listing, std::string_view text) {
    return EscapeHtml(text, static_cast<EntityStyle>(listing.entityStyle));
}

std::string PowerText(const Listing& listing) {
    const auto hp = std::lround(listing.power * 1.35962);
    return std::to_string(listing.power) + " kW (" + std::to_string(hp) + " hp)";
}

std::string PriceText(const Listing& listing, bool withDot) {
    std::string text = WithThousands(listing.price);
    if (withDot) {
        for (auto& c : text) {
            c = c == ',' ? '.' : c;
        }
        if (text.find('.') == std::string::npos) {
            text += ".00";
        }
    }
    return text;
}

void WriteHead(PageWriter& out, const Listing& listing, std::string_view title) {
    out.Line(0,
             "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
             "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">");
    out.Line(0, "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\" xml:lang=\"en\">");
    out.Line(0, "<head>");
    out.Line(1, "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/>");
    out.Line(1, "<title>" + EscapeHtml(listing.headline) + " - " + std::string(title) + "</title>");
    // Markers in comments must not count: the scanner strips these before it looks.
    out.Line(1, "<!-- makeModelDescription, price_gross and mileage are styled in print.css -->");
    out.Line(1, "<link rel=\"stylesheet\" type=\"text/css\" href=\"/static/print.css\"/>");
    out.Line(1,
             "<!--[if lt IE 9]><script type=\"text/javascript\" "
             "src=\"/static/html5shiv.js\"></script><![endif]-->");
    out.Line(1, "<script type=\"text/javascript\">");
    out.Line(2, "var ad = {\"id\": " + std::to_string(listing.id) +
                    ", \"kind\": " + std::to_string(static_cast<int>(listing.kind)) + "};");
    out.Line(2,
             "window.onload = function () { if (window.print && location.hash != '#np') { "
             "window.print(); } };");
    out.Line(1, "</script>");
    out.Line(0, "</head>");
}

void WriteKeyFacts(PageWriter& out, const Listing& listing, bool priceWithDot) {
    auto row = [&](std::string_view label, const std::string& value) {
        out.Line(2, "<tr>");
        out.Line(3, "<td class=\"label\">" + std::string(label) + "</td>");
        out.Line(3, "<td class=\"value\">" + value + "</td>");
        out.Line(2, "</tr>");
    };
    // Two tags before the door and gearbox values: an icon, then the value.
    auto iconValue = [](std::string_view icon, const std::string& value) {
        return "<strong><img src=\"/static/icons/" + std::string(icon) +
               ".png\" alt=\"\" width=\"16\" height=\"16\"/></strong> <strong>" + value +
               "</strong>";
    };
    out.Line(1, "<table class=\"keyFacts\" cellspacing=\"0\" cellpadding=\"2\">");
    std::string price =
        "<span id=\"price_gross\">EUR " + PriceText(listing, priceWithDot) + "</span>";
    if (listing.seller.type == 1) {
        price += " <span class=\"vat\">(VAT deductible)</span>";
    }
    row("Price:", price);
    row("Mileage:", "<span id=\"mileage\">" + WithThousands(listing.mileage) + " km</span>");
    if (listing.capacity > 0) {
        row("Cubic Capacity:", "<strong>" + WithThousands(listing.capacity) + " cm³</strong>");
    }
    row("Power:", "<strong>" + PowerText(listing) + "</strong>");
    row("Construction Year:",
        "<span id=\"constructionYear\">" + std::to_string(listing.constructionYear) + "</span>");
    row("Fuel Type:", "<strong>" + EscapeHtml(listing.fuelLabel) + "</strong>");
    if (listing.doors != 0) {
        row("Door Count:", iconValue("doors", DoorsLabel(listing)));
    }
    row("Gearbox:", iconValue("gearbox", GearboxLabel(listing)));
    row("First Registration:",
        "<span id=\"firstRegistration\">" + listing.FirstRegistration() + "</span>");
    if (listing.climatisation != 3) {
        row("Climatisation:", "<strong>" + ClimatisationLabel(listing) + "</strong>");
    }
    row("Colour:", EscapeHtml(listing.colour));
    out.Line(1, "</table>");
}

void WriteFeaturesAndDescription(PageWriter& out, const Listing& listing) {
    out.Line(1, "<div class=\"features\">");
    out.Line(2, "<h3><strong>Features</strong></h3><br/>" + Esc(listing, listing.FeaturesText()));
    out.Line(1, "</div>");
    out.Line(1, "<div class=\"description\">");
    out.Line(2, "<h3>Vehicle Description</h3><br/>");
    // The source breaks after every sentence; the scanner joins the lines again.
    for (std::size_t i = 0; i < listing.description.size(); ++i) {
        const bool last = i + 1 == listing.description.size();
        out.Line(i == 0 ? 0 : 2,
                 (i == 0 ? "  " : "") + Esc(listing, listing.description[i]) + (last ? "" : " "));
    }
    out.Line(1, "</div>");
}

void WriteSeller(PageWriter& out, const Listing& listing) {
    out.Line(1, "<div class=\"seller\">");
    out.Line(2, "<h3>Contact</h3>");
    out.Line(2, std::string("<p class=\"address\"><strong>") +
                    (listing.seller.type == 1 ? "Dealer" : "Private Seller") + "</strong><br/>");
    for (std::size_t i = 0; i < listing.seller.lines.size(); ++i) {
        const bool last = i + 1 == listing.seller.lines.size();
        out.Line(3, Esc(listing, listing.seller.lines[i]) + (last ? "</p><hr>" : "<br/>"));
    }
    out.Line(2, "<p class=\"legal\">Listing number: " + std::to_string(listing.id) +
                    " &middot; online since " + FormatTime(listing.created) + "</p>");
    out.Line(1, "</div>");
}

}  // namespace

std::string GearboxLabel(const Listing& listing) {
    switch (listing.transmission) {
        case 1:
            return "Manual gearbox";
        case 2:
            return "Automatic transmission";
        case 3:
            return "Semi-automatic";
        default:
            return "Other";
    }
}

std::string ClimatisationLabel(const Listing& listing) {
    const bool variant = listing.id % 2 == 1;
    switch (listing.climatisation) {
        case 1:
            return variant ? "A/C (manual)" : "Manual A/C";
        case 2:
            return variant ? "Automatic air conditioning, 2 zones" : "Automatic air conditioning";
        case 3:
            return "";
        default:
            return "Fan only";
    }
}

std::string DoorsLabel(const Listing& listing) {
    switch (listing.doors) {
        case 1:
            return "2/3";
        case 2:
            return "4/5";
        case 3:
            return "6/7";
        default:
            return "";
    }
}

std::string PicturePath(const Listing& listing) {
    return "/fahrzeuge/pictures/" + std::to_string(listing.id) + "_1.jpg";
}

std::string FormatTime(TimePoint time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
    return text;
}

std::string RenderPrintView(const Listing& listing, const DetailPageOptions& options) {
    PageWriter out;
    WriteHead(out, listing, "Print view");
    out.Line(0, "<body class=\"print\">");
    out.Line(1,
             "<div id=\"header\"><img src=\"/static/logo.png\" alt=\"Vehicle market\" "
             "width=\"160\" height=\"40\"/><a href=\"#\" onclick=\"window.print(); return "
             "false;\">Print</a></div>");
    out.Line(1, "<h1 id=\"makeModelDescription\">" + EscapeHtml(listing.headline) + "</h1>");
    if (listing.damaged) {
        out.Line(1, "<p class=\"damage\">Damaged vehicle &ndash; not roadworthy</p>");
    }
    if (listing.hasPicture) {
        out.Line(1, "<div class=\"gallery\"><img name=\"pic_01\" src=\"" + options.baseUrl +
                        PicturePath(listing) + "\" alt=\"" + EscapeHtml(listing.headline) +
                        "\" width=\"320\" height=\"240\"/></div>");
    } else {
        out.Line(1, "<div class=\"gallery empty\">No picture available</div>");
    }
    WriteKeyFacts(out, listing, options.priceWithDot);
    WriteFeaturesAndDescription(out, listing);
    WriteSeller(out, listing);
    out.Line(1,
             "<div id=\"footer\">&copy; Vehicle market &ndash; all prices include VAT "
             "unless stated otherwise.</div>");
    out.Line(1,
             "<script type=\"text/javascript\">if (window.tracker) { tracker.page('print'); "
             "}</script>");
    out.Line(0, "</body>");
    out.Line(0, "</html>");
    return out.Take();
}

std::string RenderShowDetails(const Listing& listing, const std::string& baseUrl) {
    PageWriter out;
    WriteHead(out, listing, "Vehicle details");
    out.Line(0, "<body>");
    out.Line(1,
             "<p><a href=\"/\">&larr; Latest listings</a> | <a href=\"/fahrzeuge/"
             "printView.html?lang=en&amp;id=" +
                 std::to_string(listing.id) + "\">Print view</a></p>");
    out.Line(1, "<h1>" + EscapeHtml(listing.headline) + "</h1>");
    if (listing.damaged) {
        out.Line(1, "<p><strong>Damaged vehicle</strong></p>");
    }
    if (listing.hasPicture) {
        out.Line(1, "<p><img src=\"" + baseUrl + PicturePath(listing) + "\" alt=\"" +
                        EscapeHtml(listing.headline) + "\" width=\"320\" height=\"240\"/></p>");
    }
    out.Line(1, "<table>");
    auto row = [&](std::string_view label, const std::string& value) {
        if (!value.empty()) {
            out.Line(2, "<tr><th align=\"left\">" + std::string(label) + "</th><td>" + value +
                            "</td></tr>");
        }
    };
    row("Price", "EUR " + WithThousands(listing.price));
    row("Mileage", WithThousands(listing.mileage) + " km");
    row("First registration", listing.FirstRegistration());
    row("Construction year", std::to_string(listing.constructionYear));
    row("Cubic capacity", listing.capacity > 0 ? WithThousands(listing.capacity) + " cm³" : "");
    row("Power", PowerText(listing));
    row("Fuel", EscapeHtml(listing.fuelLabel));
    row("Gearbox", GearboxLabel(listing));
    row("Doors", DoorsLabel(listing));
    row("Climatisation", listing.climatisation == 3 ? "None" : ClimatisationLabel(listing));
    row("Colour", EscapeHtml(listing.colour));
    row("Features", EscapeHtml(listing.FeaturesText()));
    out.Line(1, "</table>");
    out.Line(1, "<h2>Description</h2>");
    std::string description;
    for (const auto& sentence : listing.description) {
        description += EscapeHtml(sentence) + "<br>";
    }
    out.Line(1, "<p>" + description + "</p>");
    out.Line(1, std::string("<h2>") + (listing.seller.type == 1 ? "Dealer" : "Private seller") +
                    "</h2>");
    std::string seller;
    for (const auto& line : listing.seller.lines) {
        seller += EscapeHtml(line) + "<br>";
    }
    out.Line(1, "<p>" + seller + "</p>");
    out.Line(1, "<p><small>Listing number " + std::to_string(listing.id) + ", online since " +
                    FormatTime(listing.created) + "</small></p>");
    out.Line(0, "</body>");
    out.Line(0, "</html>");
    return out.Take();
}

}  // namespace marvolt::sim
