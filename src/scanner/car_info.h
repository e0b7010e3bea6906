#pragma once

#include <cstdint>
#include <string>

namespace marvolt {

// One found vehicle as read from a listing's printable detail page. Texts are UTF-8; codes
// use the shared value codes, 0 meaning the page gave no recognised value.
struct CarInfo {
    std::string CarDescription;
    std::int32_t Price = 0;
    std::uint8_t Fuel = 0;
    std::uint8_t Transmission = 0;
    std::string FirstRegistration;
    std::int32_t Mileage = 0;
    std::string Description;
    std::string Dealer;
    std::string Features;
    std::int32_t ConstructionYear = 0;
    std::string SellerCountry;
    std::int32_t EngineCapacity = 0;
    std::int32_t IdSchedule = 0;
    std::int32_t Id = 0;
    std::uint8_t SellerType = 0;
    bool Damaged = false;
    std::string Picture;  // the first picture's bytes as fetched; empty when there is none
    std::string PictureUrl;
    std::int32_t Power = 0;
    std::uint8_t Climatisation = 0;
    std::uint8_t Doors = 0;
};

}  // namespace marvolt
