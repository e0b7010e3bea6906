#include "simulator/search_query.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <span>

#include "simulator/html_text.h"
#include "simulator/query_string.h"

namespace marvolt::sim {

namespace {

struct Code {
    std::string_view site;
    int code;
};

constexpr Code kFuels[] = {{"PETROL", 1}, {"DIESEL", 2}, {"LPG", 3}};
constexpr Code kTransmissions[] = {
    {"MANUAL_GEAR", 1}, {"AUTOMATIC_GEAR", 2}, {"SEMIAUTOMATIC_GEAR", 3}};
constexpr Code kSellers[] = {{"ONLY_DEALER_ADS", 1}, {"ONLY_FSBO_ADS", 2}};
constexpr Code kDoors[] = {{"TWO_OR_THREE", 1}, {"FOUR_OR_FIVE", 2}, {"SIX_OR_SEVEN", 3}};

std::optional<int> CodeOf(std::span<const Code> table, std::string_view value) {
    for (const auto& entry : table) {
        if (entry.site == value) {
            return entry.code;
        }
    }
    return std::nullopt;
}

void AddCode(std::set<int>& codes, std::span<const Code> table, std::string_view value) {
    if (const auto code = CodeOf(table, value)) {
        codes.insert(*code);
    }
}

void SetBound(std::int64_t& bound, std::string_view value) {
    if (const auto number = ToInt(value)) {
        bound = *number;
    }
}

// "2005-01-01" as 20050101; a missing month or day takes the first or last one of the
// period, so "2010" as an upper bound means the end of 2010.
void SetDate(std::int64_t& bound, std::string_view value, bool upper) {
    int parts[3] = {0, upper ? 12 : 1, upper ? 31 : 1};
    for (int i = 0; i < 3 && !value.empty(); ++i) {
        const auto dash = value.find('-');
        const auto number = ToInt(value.substr(0, dash));
        if (!number) {
            return;
        }
        parts[i] = *number;
        value = dash == std::string_view::npos ? std::string_view() : value.substr(dash + 1);
    }
    bound = parts[0] <= 0 ? 0 : std::int64_t{parts[0]} * 10000 + parts[1] * 100 + parts[2];
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

std::optional<VehicleKind> KindOfSearchPath(std::string_view path) {
    for (auto kind : {VehicleKind::Cars, VehicleKind::Motorcycles, VehicleKind::Trucks}) {
        if (path == "/" + std::string(KindSegment(kind)) + "/search.html") {
            return kind;
        }
    }
    return std::nullopt;
}

std::string_view KindSegment(VehicleKind kind) {
    switch (kind) {
        case VehicleKind::Motorcycles:
            return "motorrad";
        case VehicleKind::Trucks:
            return "lkw";
        default:
            return "auto";
    }
}

SearchFilter ParseSearchQuery(VehicleKind kind, std::string_view query) {
    SearchFilter filter;
    filter.kind = kind;
    bool powerInHp = false;
    for (const auto& piece : SplitQuery(query)) {
        const std::string key = PercentDecode(piece.key, true);
        const std::string value = PercentDecode(piece.value, true);
        if (key == "makeModelVariant1.makeId") {
            filter.makeId = ToInt(value).value_or(0);
        } else if (key == "makeModelVariant1.modelId") {
            filter.modelId = ToInt(value).value_or(0);
        } else if (key == "makeModelVariant1.modelDescription") {
            filter.modelDescription = value;
        } else if (key == "fuels") {
            AddCode(filter.fuels, kFuels, value);
        } else if (key == "transmissions") {
            AddCode(filter.transmissions, kTransmissions, value);
        } else if (key == "adLimitation") {
            filter.sellerType = CodeOf(kSellers, value).value_or(filter.sellerType);
        } else if (key == "damageUnrepaired") {
            if (value == "NO_DAMAGE_UNREPAIRED") {
                filter.damage = DamageFilter::Exclude;
            } else if (value == "ALSO_DAMAGE_UNREPAIRED") {
                filter.damage = DamageFilter::Any;
            } else if (value == "ONLY_DAMAGE_UNREPAIRED") {
                filter.damage = DamageFilter::Only;
            }
        } else if (key == "ambitCountry") {
            filter.countryCode = value;
        } else if (key == "doorCount") {
            AddCode(filter.doors, kDoors, value);
        } else if (key == "climatisation") {
            if (value == "MANUAL_OR_AUTOMATIC_CLIMATISATION") {
                filter.climatisations.insert({1, 2});
            } else if (value == "AUTOMATIC_CLIMATISATION") {
                filter.climatisations.insert(2);
            } else if (value == "NO_CLIMATISATION") {
                filter.climatisations.insert(3);
            }
        } else if (key == "minPowerAsArray" || key == "maxPowerAsArray") {
            // Each bound comes twice: the number, then its unit.
            if (value == "PS") {
                powerInHp = true;
            } else {
                SetBound(key[1] == 'i' ? filter.power.from : filter.power.to, value);
            }
        } else if (key == "minCubicCapacity") {
            SetBound(filter.capacity.from, value);
        } else if (key == "maxCubicCapacity") {
            SetBound(filter.capacity.to, value);
        } else if (key == "minPrice") {
            SetBound(filter.price.from, value);
        } else if (key == "maxPrice") {
            SetBound(filter.price.to, value);
        } else if (key == "minMileage") {
            SetBound(filter.mileage.from, value);
        } else if (key == "maxMileage") {
            SetBound(filter.mileage.to, value);
        } else if (key == "minFirstRegistrationDate") {
            SetDate(filter.registration.from, value, false);
        } else if (key == "maxFirstRegistrationDate") {
            SetDate(filter.registration.to, value, true);
        } else if (key == "daysAfterCreation") {
            filter.days = std::max(0, ToInt(value).value_or(0));
        } else if (key == "pageNumber") {
            filter.pageNumber = std::max(1, ToInt(value).value_or(1));
        }
    }
    if (powerInHp) {
        auto toKw = [](std::int64_t hp) { return std::llround(static_cast<double>(hp) / 1.35962); };
        filter.power.from = toKw(filter.power.from);
        filter.power.to = toKw(filter.power.to);
    }
    return filter;
}

bool Matches(const SearchFilter& filter, const Listing& listing) {
    auto allowed = [](const std::set<int>& codes, int code) {
        return codes.empty() || codes.count(code) > 0;
    };
    const std::int64_t registration =
        std::int64_t{listing.registrationYear} * 10000 + listing.registrationMonth * 100 + 1;
    return listing.kind == filter.kind && (filter.makeId <= 0 || listing.makeId == filter.makeId) &&
           (filter.modelId <= 0 || listing.modelId == filter.modelId) &&
           (filter.modelDescription.empty() ||
            Lower(listing.model).find(Lower(filter.modelDescription)) != std::string::npos) &&
           allowed(filter.fuels, listing.fuel) &&
           allowed(filter.transmissions, listing.transmission) &&
           (filter.sellerType == 0 || listing.seller.type == filter.sellerType) &&
           (filter.damage == DamageFilter::Any ||
            listing.damaged == (filter.damage == DamageFilter::Only)) &&
           (filter.countryCode.empty() || listing.seller.countryCode == filter.countryCode) &&
           allowed(filter.doors, listing.doors) &&
           allowed(filter.climatisations, listing.climatisation) &&
           filter.power.Holds(listing.power) && filter.capacity.Holds(listing.capacity) &&
           filter.price.Holds(listing.price) && filter.mileage.Holds(listing.mileage) &&
           filter.registration.Holds(registration);
}

}  // namespace marvolt::sim
