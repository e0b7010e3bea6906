#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace marvolt::sim::data {

// Model names of the kinds the reference data gives no models for, by make name.
struct NamedModels {
    std::string_view make;
    std::span<const std::string_view> models;
};
std::span<const NamedModels> MotorcycleModels();
std::span<const NamedModels> TruckModels();

struct Colour {
    std::string_view name;
    std::uint8_t red, green, blue;
};
std::span<const Colour> Colours();

std::span<const std::string_view> CarTrims();
std::span<const std::string_view> CarFeatures();
std::span<const std::string_view> MotorcycleFeatures();
std::span<const std::string_view> TruckFeatures();

// Sentences of a seller's free text; "{colour}" stands for the vehicle's colour.
std::span<const std::string_view> CarSentences();
std::span<const std::string_view> MotorcycleSentences();
std::span<const std::string_view> TruckSentences();
// Sentences every kind may use, some of them in the seller's own language.
std::span<const std::string_view> CommonSentences();

struct City {
    std::string_view postcode;
    std::string_view name;
};

// What an address in one country is made of.
struct CountryData {
    std::string_view name;  // English, as printed in the address block
    std::string_view code;  // the site's country code
    int weight;             // how often sellers come from there
    std::string_view phonePrefix;
    std::span<const City> cities;
    std::span<const std::string_view> streets;
    std::span<const std::string_view> dealerNames;  // "{city}" stands for the city
    std::span<const std::string_view> people;
    bool numberFirst;  // "12 Rue ..." rather than "Street 12"
};
std::span<const CountryData> Countries();

}  // namespace marvolt::sim::data
