#include "scanner/search_address.h"

#include <array>
#include <utility>

#include "scanner/site_interface.h"

namespace marvolt {

namespace {

struct VehicleKindRow {
    std::string_view pathSegment;
    std::string_view scopeId;
};

constexpr std::array<VehicleKindRow, 3> kVehicleKinds = {{
    {"auto", "C"},       // cars
    {"motorrad", "MB"},  // motorcycles
    {"lkw", "AT"},       // trucks
}};

// Site values by task code; code 0 means "any" and sends nothing (damage has no "any").
constexpr std::array<std::string_view, 4> kFuels = {"", "PETROL", "DIESEL", "LPG"};
constexpr std::array<std::string_view, 4> kTransmissions = {"", "MANUAL_GEAR", "AUTOMATIC_GEAR",
                                                            "SEMIAUTOMATIC_GEAR"};
constexpr std::array<std::string_view, 3> kSellerTypes = {"", "ONLY_DEALER_ADS", "ONLY_FSBO_ADS"};
constexpr std::array<std::string_view, 3> kDamage = {
    "NO_DAMAGE_UNREPAIRED", "ALSO_DAMAGE_UNREPAIRED", "ONLY_DAMAGE_UNREPAIRED"};
constexpr std::array<std::string_view, 4> kClimatisations = {
    "", "MANUAL_OR_AUTOMATIC_CLIMATISATION", "AUTOMATIC_CLIMATISATION", "NO_CLIMATISATION"};
constexpr std::array<std::string_view, 4> kDoors = {"", "TWO_OR_THREE", "FOUR_OR_FIVE",
                                                    "SIX_OR_SEVEN"};

struct CountryRow {
    std::string_view name;  // as the task editor offers it, compared exactly
    std::string_view code;
};

constexpr std::array<CountryRow, 7> kCountries = {{
    {"Poland", "PL"},
    {"Germany", "DE"},
    {"Italy", "IT"},
    {"Belgium", "BE"},
    {"Netherlands", "NL"},
    {"France", "FR"},
    {"Austria", "AT"},
}};

// The site value of a code, or empty for a code beyond the table (never offered by the task
// editor), so such a code sends nothing.
template <std::size_t N>
std::string_view SiteValue(const std::array<std::string_view, N>& table, std::int32_t code) {
    return code >= 0 && static_cast<std::size_t>(code) < N ? table[static_cast<std::size_t>(code)]
                                                           : std::string_view();
}

std::string Number(std::int32_t value) {
    return std::to_string(value);
}

}  // namespace

SearchAddress::SearchAddress(std::string siteBaseUrl) : siteBaseUrl_(std::move(siteBaseUrl)) {}

void SearchAddress::Append(std::string_view parameter) {
    url_ += '&';
    url_.append(parameter);
}

void SearchAddress::SetIdSchedule(std::int32_t idSchedule) {
    values_.idSchedule = idSchedule;
}

void SearchAddress::SetVehicleKind(std::int32_t kind) {
    values_.vehicleKind = kind;
    url_.clear();
    if (kind < 0 || static_cast<std::size_t>(kind) >= kVehicleKinds.size()) {
        return;  // no search page for an unknown kind: the address stays empty
    }
    const VehicleKindRow& row = kVehicleKinds[static_cast<std::size_t>(kind)];
    const std::string_view templ = site::kSearchPathTemplate;
    const std::size_t first = templ.find("%s");
    const std::size_t second = templ.find("%s", first + 2);
    url_ = siteBaseUrl_;
    url_.append(templ.substr(0, first));
    url_.append(row.pathSegment);
    url_.append(templ.substr(first + 2, second - first - 2));
    url_.append(row.scopeId);
    url_.append(templ.substr(second + 2));
}

void SearchAddress::SetMakeId(std::int32_t makeId) {
    values_.makeId = makeId;
    Append("makeModelVariant1.makeId=" + Number(makeId));
}

void SearchAddress::SetModelId(std::int32_t modelId) {
    values_.modelId = modelId;
    if (modelId > 0) {
        Append("makeModelVariant1.modelId=" + Number(modelId));
    }
}

void SearchAddress::SetModelDescription(std::string_view model) {
    values_.model = std::string(model);
    Append("makeModelVariant1.modelDescription=" + values_.model);
}

void SearchAddress::SetFuel(std::int32_t fuel) {
    values_.fuel = fuel;
    if (const std::string_view value = SiteValue(kFuels, fuel); !value.empty()) {
        Append("fuels=" + std::string(value));
    }
}

void SearchAddress::SetDamaged(std::int32_t damaged) {
    values_.damaged = damaged;
    if (const std::string_view value = SiteValue(kDamage, damaged); !value.empty()) {
        Append("damageUnrepaired=" + std::string(value));
    }
}

void SearchAddress::SetTransmission(std::int32_t transmission) {
    values_.transmission = transmission;
    if (const std::string_view value = SiteValue(kTransmissions, transmission); !value.empty()) {
        Append("transmissions=" + std::string(value));
    }
}

void SearchAddress::SetSellerType(std::int32_t sellerType) {
    values_.sellerType = sellerType;
    if (const std::string_view value = SiteValue(kSellerTypes, sellerType); !value.empty()) {
        Append("adLimitation=" + std::string(value));
    }
}

// The country, zip code and radius parameters carry an "&" of their own, so the address has
// "&&" before each of them; the site accepts that.
void SearchAddress::SetCountry(std::string_view country) {
    values_.country = std::string(country);
    for (const CountryRow& row : kCountries) {
        if (row.name == country) {
            Append("&ambitCountry=" + std::string(row.code));
            return;
        }
    }
}

void SearchAddress::SetZip(std::string_view zip) {
    values_.zip = std::string(zip);
    Append("&zipcode=" + values_.zip);
}

void SearchAddress::SetRadius(std::uint16_t radius) {
    values_.radius = radius;
    Append("&zipcodeRadius=" + std::to_string(radius));
}

void SearchAddress::SetDoors(std::int32_t doors) {
    values_.doors = doors;
    if (const std::string_view value = SiteValue(kDoors, doors); !value.empty()) {
        Append("doorCount=" + std::string(value));
    }
}

void SearchAddress::SetClimatisation(std::int32_t climatisation) {
    values_.climatisation = climatisation;
    if (const std::string_view value = SiteValue(kClimatisations, climatisation); !value.empty()) {
        Append("climatisation=" + std::string(value));
    }
}

void SearchAddress::SetPowerRange(std::int32_t from, std::int32_t to) {
    values_.powerFrom = from;
    values_.powerTo = to;
    Append("minPowerAsArray=" + Number(from) + "&minPowerAsArray=KW&maxPowerAsArray=" + Number(to) +
           "&maxPowerAsArray=KW");
}

void SearchAddress::SetEngineRange(std::int32_t from, std::int32_t to) {
    values_.engineFrom = from;
    values_.engineTo = to;
    Append("minCubicCapacity=" + Number(from) + "&maxCubicCapacity=" + Number(to));
}

void SearchAddress::SetPriceRange(std::int32_t from, std::int32_t to) {
    values_.priceFrom = from;
    values_.priceTo = to;
    Append("minPrice=" + Number(from) + "&maxPrice=" + Number(to));
}

void SearchAddress::SetMileageRange(std::int32_t from, std::int32_t to) {
    values_.mileageFrom = from;
    values_.mileageTo = to;
    Append("minMileage=" + Number(from) + "&maxMileage=" + Number(to));
}

void SearchAddress::SetRegistrationRange(std::int32_t from, std::int32_t to) {
    values_.registrationFrom = from;
    values_.registrationTo = to;
    Append("minFirstRegistrationDate=" + Number(from) +
           "-01-01&maxFirstRegistrationDate=" + Number(to) + "-12-31");
}

}  // namespace marvolt
