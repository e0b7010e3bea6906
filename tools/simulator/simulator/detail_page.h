#pragma once

#include <string>

#include "simulator/listing.h"

namespace marvolt::sim {

struct DetailPageOptions {
    std::string baseUrl;        // scheme, host and port the picture address starts with
    bool priceWithDot = false;  // write the price the continental way, "12.450"
};

// The English printable detail page of a listing, as the scanner reads it.
std::string RenderPrintView(const Listing& listing, const DetailPageOptions& options);

// The listing's page for a person in a browser.
std::string RenderShowDetails(const Listing& listing, const std::string& baseUrl);

// Path of the listing's first picture on the site.
std::string PicturePath(const Listing& listing);

// Site labels of the coded values, as the detail page prints them.
std::string GearboxLabel(const Listing& listing);
std::string ClimatisationLabel(const Listing& listing);  // empty for code 3 (no entry)
std::string DoorsLabel(const Listing& listing);          // empty for code 0

// "2024-05-01 12:34 UTC".
std::string FormatTime(TimePoint time);

}  // namespace marvolt::sim
