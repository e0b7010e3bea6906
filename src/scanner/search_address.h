#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner/task_values.h"

namespace marvolt {

// The address of the site's search page for one task: which listings of the last day match
// it, newest first. SetVehicleKind starts the address; every other setter appends its
// parameters in the order it is called. Each setter also keeps its value.
class SearchAddress {
  public:
    // The site's scheme, host and port, without a trailing "/".
    explicit SearchAddress(std::string siteBaseUrl);

    void SetIdSchedule(std::int32_t idSchedule);
    void SetVehicleKind(std::int32_t kind);
    void SetMakeId(std::int32_t makeId);
    void SetModelId(std::int32_t modelId);
    void SetModelDescription(std::string_view model);
    void SetFuel(std::int32_t fuel);
    void SetDamaged(std::int32_t damaged);
    void SetTransmission(std::int32_t transmission);
    void SetSellerType(std::int32_t sellerType);
    void SetCountry(std::string_view country);
    void SetZip(std::string_view zip);
    void SetRadius(std::uint16_t radius);
    void SetDoors(std::int32_t doors);
    void SetClimatisation(std::int32_t climatisation);
    void SetPowerRange(std::int32_t from, std::int32_t to);
    void SetEngineRange(std::int32_t from, std::int32_t to);
    void SetPriceRange(std::int32_t from, std::int32_t to);
    void SetMileageRange(std::int32_t from, std::int32_t to);
    void SetRegistrationRange(std::int32_t from, std::int32_t to);

    const std::string& Url() const { return url_; }
    const std::string& Country() const { return values_.country; }
    const std::string& Zip() const { return values_.zip; }
    std::int32_t IdSchedule() const { return values_.idSchedule; }
    // Every value handed over so far.
    const TaskValues& Values() const { return values_; }

  private:
    void Append(std::string_view parameter);

    std::string siteBaseUrl_;
    std::string url_;
    TaskValues values_;
};

}  // namespace marvolt
