#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the program fixes about the classifieds site: its request paths, the page markers of
// its search page, and how every request to it is made. The site's scheme, host and port come
// from marvolt.ini ([site] BaseUrl).
namespace marvolt::site {

// Out of the box the programs talk to marvolt-simulator on loopback.
inline constexpr std::string_view kDefaultBaseUrl = "http://127.0.0.1:8080";

// Search page path and query; the first %s is the vehicle kind's path segment, the second
// its scope id. Parameters of the task follow, each joined by "&".
inline constexpr std::string_view kSearchPathTemplate =
    "/%s/search.html?isSearchRequest=true&lang=en&export=ALSO_EXPORT"
    "&sortOption.sortBy=searchNetGrossPrice&scopeId=%s&sortPath=creationTime"
    "&defaultOrder=DESCENDING&useCase=ChangeSortOrder&daysAfterCreation=1";

// Printable detail page of one listing, in English.
inline constexpr std::string_view kDetailPathPrefix = "/fahrzeuge/printView.html?lang=en&id=";
// The listing's page for a person, opened in the browser.
inline constexpr std::string_view kListingPathPrefix = "/fahrzeuge/showDetails.html?id=";

// Search page: each entry carries one of these markers and its listing id, in decimal, after
// the id marker up to the next "\"".
inline constexpr std::string_view kEntryMarkerNormal = "listEntry normalAd";
inline constexpr std::string_view kEntryMarkerEyecatcher = "listEntry eyecatcherContainer";
inline constexpr std::string_view kListingIdMarker = "name=\"parkAndCompare\" value=\"";

// Every request: this user agent, no cookies, and at most these waits.
inline constexpr std::string_view kUserAgent =
    "Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.2; Win64; x64; Trident/6.0)";
inline constexpr int kConnectTimeoutMs = 10000;
inline constexpr int kReadTimeoutMs = 10000;

inline std::string DetailPagePath(std::int32_t listingId) {
    return std::string(kDetailPathPrefix) + std::to_string(listingId);
}

inline std::string ListingPagePath(std::int32_t listingId) {
    return std::string(kListingPathPrefix) + std::to_string(listingId);
}

}  // namespace marvolt::site
