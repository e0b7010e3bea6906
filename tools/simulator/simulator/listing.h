#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "db/reference_data.h"

namespace marvolt::sim {

using TimePoint = std::chrono::system_clock::time_point;

// Who sells a vehicle and where. The lines are the address block as the site prints it, one
// entry per printed line, the country name on one of them.
struct Seller {
    int type = 1;  // 1 dealer, 2 private seller
    std::vector<std::string> lines;
    std::string city;         // postcode and town, as on the address line
    std::string country;      // English name, e.g. "Germany"
    std::string countryCode;  // the site's code for it, e.g. "DE"
};

// One vehicle offered on the site. Codes follow the shared value codes; 0 means the page shows
// no recognised value (doors of a motorcycle, the fuel of an electric car).
struct Listing {
    std::int32_t id = 0;
    VehicleKind kind = VehicleKind::Cars;
    int makeId = 0;
    int modelId = 0;  // cars only; 0 for motorcycles and trucks
    std::string make;
    std::string model;     // the model's name, the text a model description is matched against
    std::string headline;  // make, model and variant as the page shows it
    std::int32_t price = 0;
    std::int32_t mileage = 0;
    std::int32_t capacity = 0;  // cm3; 0 when the vehicle has no combustion engine
    std::int32_t power = 0;     // kW
    std::int32_t constructionYear = 0;
    int registrationMonth = 1;
    int registrationYear = 0;
    int fuel = 0;  // 1 petrol, 2 diesel, 3 LPG, 0 anything else
    std::string fuelLabel;
    int transmission = 1;   // 1 manual, 2 automatic, 3 semi-automatic
    int climatisation = 3;  // 1 manual, 2 automatic, 3 none
    int doors = 0;          // 1 "2/3", 2 "4/5", 3 "6/7", 0 not given
    bool damaged = false;
    bool featured = false;  // shown as an eye-catcher on result pages
    bool hasPicture = true;
    std::uint32_t pictureSeed = 0;
    std::string colour;
    std::vector<std::string> features;
    std::vector<std::string> description;  // sentences; the page breaks its source lines here
    Seller seller;
    int entityStyle = 0;  // how the page writes non-ASCII characters: 0 raw, 1 named, 2 numeric
    TimePoint created{};

    // "MM/YYYY", as the page shows the first registration.
    std::string FirstRegistration() const;
    // The description as one line: sentences separated by one space.
    std::string DescriptionText() const;
    // The features as the page lists them: separated by ", ".
    std::string FeaturesText() const;
};

}  // namespace marvolt::sim
