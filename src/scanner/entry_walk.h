#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Reading listing ids off a search page (page text, see NormalizePage).
namespace marvolt {

using KnownIds = std::unordered_set<std::int32_t>;

// The ids a walk over a search page met, in page order. When it met an id that is not a
// 32-bit number it stopped there and `error` says why; the ids before it stay valid.
struct IdScan {
    std::vector<std::int32_t> ids;
    std::string error;
};

// Every listing id on the page, whatever entry it belongs to: what a scanner's first pass
// learns without reporting anything.
IdScan ScanAllIds(std::string_view pageText);

// The entries of the page from the newest, each marked "listEntry normalAd" or "listEntry
// eyecatcherContainer", up to the first id that is known (or met twice): the listings a
// later pass reports, newest first.
IdScan ScanNewIds(std::string_view pageText, const KnownIds& known);

// A listing id as the page writes it, in decimal; raises ConversionError otherwise.
std::int32_t ParseListingId(std::string_view text);

}  // namespace marvolt
