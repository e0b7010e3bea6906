#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "simulator/listing.h"

namespace marvolt::sim {

// A range of a search; a bound of 0 leaves that side open.
struct Bounds {
    std::int64_t from = 0;
    std::int64_t to = 0;
    bool Holds(std::int64_t value) const {
        return (from <= 0 || value >= from) && (to <= 0 || value <= to);
    }
};

enum class DamageFilter { Any, Exclude, Only };

// What a search page asks for, read from its query string.
struct SearchFilter {
    VehicleKind kind = VehicleKind::Cars;
    int makeId = 0;   // 0: any make
    int modelId = 0;  // 0: any model
    std::string modelDescription;
    std::set<int> fuels;  // empty: any
    std::set<int> transmissions;
    int sellerType = 0;  // 0: any, 1 dealers only, 2 private sellers only
    DamageFilter damage = DamageFilter::Any;
    std::string countryCode;  // empty: any
    std::set<int> doors;
    std::set<int> climatisations;
    Bounds power, capacity, price, mileage;
    Bounds registration;  // as YYYYMMDD
    int days = 0;         // listings created within that many days; 0: no limit
    int pageNumber = 1;
};

// The vehicle kind whose search path this is ("/auto/search.html" and so on).
std::optional<VehicleKind> KindOfSearchPath(std::string_view path);
// The path segment of a kind: "auto", "motorrad", "lkw".
std::string_view KindSegment(VehicleKind kind);

// Reads a search page's query. Unknown parameters and values the site does not know are
// ignored, as a tolerant site would; the postal code and radius are not used.
SearchFilter ParseSearchQuery(VehicleKind kind, std::string_view query);

// Whether a listing meets every condition but the age, which needs the clock.
bool Matches(const SearchFilter& filter, const Listing& listing);

}  // namespace marvolt::sim
