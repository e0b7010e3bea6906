#pragma once

#include <cstdint>
#include <string>

namespace marvolt {

// The values of one search task (a SCHEDULE row) that a scanner works with. A null column
// reads as 0 or as empty text.
struct TaskValues {
    std::int32_t idSchedule = 0;
    std::int32_t vehicleKind = 0;
    std::int32_t makeId = 0;
    std::int32_t modelId = 0;
    std::string model;
    std::int32_t fuel = 0;
    std::int32_t damaged = 0;
    std::int32_t transmission = 0;
    std::int32_t sellerType = 0;
    std::string country;
    std::string zip;
    std::uint16_t radius = 0;
    std::int32_t doors = 0;
    std::int32_t climatisation = 0;
    std::int32_t powerFrom = 0;
    std::int32_t powerTo = 0;
    std::int32_t engineFrom = 0;
    std::int32_t engineTo = 0;
    std::int32_t priceFrom = 0;
    std::int32_t priceTo = 0;
    std::int32_t mileageFrom = 0;
    std::int32_t mileageTo = 0;
    std::int32_t registrationFrom = 0;
    std::int32_t registrationTo = 0;
};

}  // namespace marvolt
