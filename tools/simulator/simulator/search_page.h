#pragma once

#include <string>
#include <vector>

#include "simulator/listing.h"

namespace marvolt::sim {

struct SearchPageContent {
    VehicleKind kind = VehicleKind::Cars;
    std::vector<Listing> entries;  // this page's listings, newest first
    std::size_t total = 0;         // matching listings on all pages
    int pageNumber = 1;
    int pageCount = 1;
    std::string query;  // the query the page answers, for its paging links
};

// A result page as the site sends it: every entry marked "listEntry normalAd" or, for
// featured listings, "listEntry eyecatcherContainer", and carrying its id in a
// "parkAndCompare" check box, amid the rest of a real page.
std::string RenderSearchPage(const SearchPageContent& content);

}  // namespace marvolt::sim
