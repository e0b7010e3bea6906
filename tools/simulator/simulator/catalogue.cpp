#include "simulator/catalogue.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "simulator/catalogue_data.h"
#include "simulator/random.h"

namespace marvolt::sim {

namespace {

// The newest construction year the catalogue offers. Fixed rather than taken from the clock,
// so a seed gives the same catalogue whatever the date.
constexpr int kNewestYear = 2024;

struct CarMake {
    const MakeRow* make;
    std::vector<const ModelRow*> models;
};

struct NamedMake {
    const MakeRow* make;
    std::span<const std::string_view> models;
};

const std::vector<CarMake>& CarMakes() {
    static const auto makes = [] {
        std::vector<CarMake> result;
        for (const auto& make : ReferenceMakes()) {
            if (!make.cars) {
                continue;
            }
            CarMake entry{&make, {}};
            for (const auto& model : ReferenceModels()) {
                if (model.idMake == make.id && model.kind == VehicleKind::Cars) {
                    entry.models.push_back(&model);
                }
            }
            if (!entry.models.empty()) {
                result.push_back(std::move(entry));
            }
        }
        return result;
    }();
    return makes;
}

// The reference makes of a kind joined with the catalogue's model names for them.
std::vector<NamedMake> JoinNamedModels(std::span<const data::NamedModels> table,
                                       bool MakeRow::*offered) {
    std::vector<NamedMake> result;
    for (const auto& make : ReferenceMakes()) {
        if (!(make.*offered)) {
            continue;
        }
        for (const auto& entry : table) {
            if (entry.make == make.name) {
                result.push_back({&make, entry.models});
            }
        }
    }
    return result;
}

const std::vector<NamedMake>& MotorcycleMakes() {
    static const auto makes = JoinNamedModels(data::MotorcycleModels(), &MakeRow::motorcycles);
    return makes;
}

const std::vector<NamedMake>& TruckMakes() {
    static const auto makes = JoinNamedModels(data::TruckModels(), &MakeRow::trucks);
    return makes;
}

template <typename T>
const T& PickFrom(Random& random, const std::vector<T>& items) {
    return items[random.Below(items.size())];
}

// Index of a weighted choice.
std::size_t Weighted(Random& random, std::initializer_list<int> weights) {
    int total = 0;
    for (int weight : weights) {
        total += weight;
    }
    int roll = static_cast<int>(random.Below(static_cast<std::uint64_t>(total)));
    std::size_t index = 0;
    for (int weight : weights) {
        if (roll < weight) {
            return index;
        }
        roll -= weight;
        ++index;
    }
    return weights.size() - 1;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Distinct entries of a list, in the list's order.
std::vector<std::string> PickSome(Random& random, std::span<const std::string_view> items,
                                  int least, int most) {
    const auto count = static_cast<std::size_t>(
        std::min<int>(random.Between(least, most), static_cast<int>(items.size())));
    std::vector<bool> taken(items.size(), false);
    for (std::size_t picked = 0; picked < count;) {
        const auto index = random.Below(items.size());
        if (!taken[index]) {
            taken[index] = true;
            ++picked;
        }
    }
    std::vector<std::string> result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (taken[i]) {
            result.emplace_back(items[i]);
        }
    }
    return result;
}

std::string Litres(int capacity) {
    const int tenths = (capacity + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// A cubic capacity near the number in a model name such as "R 1250 GS", if it has one.
int CapacityFromName(std::string_view model) {
    int best = 0;
    for (std::size_t i = 0; i < model.size();) {
        if (model[i] < '0' || model[i] > '9') {
            ++i;
            continue;
        }
        int number = 0;
        while (i < model.size() && model[i] >= '0' && model[i] <= '9') {
            number = number * 10 + (model[i] - '0');
            ++i;
        }
        if (number >= 100 && number <= 1900) {
            best = number;
        }
    }
    return best;
}

int Age(Random& random) {
    // Younger vehicles are offered more often than old ones.
    const int a = random.Between(0, 18);
    return random.Percent(50) ? std::min(a, random.Between(0, 18)) : a;
}

int RoundPrice(double price) {
    const int step = price < 10000 ? 50 : 100;
    return std::max(step * 10, static_cast<int>(std::lround(price / step)) * step);
}

void FillCar(Random& random, Listing& listing) {
    const auto& make = PickFrom(random, CarMakes());
    const auto* model = PickFrom(random, make.models);
    listing.kind = VehicleKind::Cars;
    listing.makeId = make.make->id;
    listing.modelId = model->id;
    listing.make = make.make->name;
    listing.model = model->name;

    static constexpr int kPetrol[] = {999, 1197, 1395, 1498, 1598, 1798, 1984, 2480, 2995};
    static constexpr int kDiesel[] = {1461, 1598, 1968, 1995, 2143, 2993};
    static constexpr int kHybrid[] = {1598, 1798, 1987, 2487};
    static constexpr std::string_view kDieselWords[] = {"TDI", "CDI", "dCi", "HDi", "CRDi"};
    static constexpr std::string_view kPetrolWords[] = {"", "Turbo", "TSI", "VVT-i"};
    std::string engine;
    switch (Weighted(random, {42, 35, 6, 8, 9})) {
        case 0:
            listing.fuel = 1;
            listing.fuelLabel = "Petrol";
            listing.capacity = random.Pick(std::span<const int>(kPetrol));
            engine = Litres(listing.capacity);
            if (const auto word = random.Pick(std::span<const std::string_view>(kPetrolWords));
                !word.empty()) {
                engine += " " + std::string(word);
            }
            break;
        case 1:
            listing.fuel = 2;
            listing.fuelLabel = "Diesel";
            listing.capacity = random.Pick(std::span<const int>(kDiesel));
            engine = Litres(listing.capacity) + " " +
                     std::string(kDieselWords[static_cast<std::size_t>(listing.makeId) % 5]);
            break;
        case 2:
            listing.fuel = 3;
            listing.fuelLabel = "LPG";
            listing.capacity = random.Pick(std::span<const int>(kPetrol));
            engine = Litres(listing.capacity) + " LPG";
            break;
        case 3:
            listing.fuel = 1;
            listing.fuelLabel = "Hybrid (petrol/electric)";
            listing.capacity = random.Pick(std::span<const int>(kHybrid));
            engine = Litres(listing.capacity) + " Hybrid";
            break;
        default:
            listing.fuel = 0;
            listing.fuelLabel = "Electric";
            listing.capacity = 0;
            engine = "Electric";
            break;
    }
    listing.power = listing.capacity > 0 ? listing.capacity * random.Between(45, 82) / 1000
                                         : random.Between(80, 300);
    listing.transmission =
        listing.fuel == 0 ? 2 : static_cast<int>(Weighted(random, {55, 40, 5})) + 1;
    listing.climatisation = static_cast<int>(Weighted(random, {38, 50, 12})) + 1;
    listing.doors = static_cast<int>(Weighted(random, {20, 75, 5})) + 1;
    listing.headline = listing.make + " " + listing.model + " " + engine + " " +
                       std::string(random.Pick(data::CarTrims()));

    const int age = Age(random);
    listing.constructionYear = kNewestYear - age;
    listing.mileage = age == 0 ? random.Between(5, 4999)
                               : age * random.Between(6000, 24000) + random.Between(0, 999);
    const double newPrice = random.Between(15, 70) * 1000.0;
    listing.price = RoundPrice(newPrice * std::pow(0.86, age) *
                               std::max(0.3, 1.0 - listing.mileage / 500000.0));
    listing.features = PickSome(random, data::CarFeatures(), 4, 12);
}

void FillMotorcycle(Random& random, Listing& listing) {
    const auto& make = PickFrom(random, MotorcycleMakes());
    listing.kind = VehicleKind::Motorcycles;
    listing.makeId = make.make->id;
    listing.make = make.make->name;
    listing.model = std::string(random.Pick(make.models));
    listing.headline = listing.make + " " + listing.model;

    listing.fuel = 1;
    listing.fuelLabel = "Petrol";
    static constexpr int kCapacities[] = {373, 471, 649, 689, 765, 799, 890, 937, 1084, 1160};
    const int named = CapacityFromName(listing.model);
    listing.capacity = named > 0 ? named - random.Between(0, named / 25)
                                 : random.Pick(std::span<const int>(kCapacities));
    listing.power = std::max(8, listing.capacity * random.Between(60, 125) / 1000);
    const bool scooter = listing.make == "Vespa" || listing.make == "Piaggio";
    listing.transmission = scooter ? 2 : (random.Percent(94) ? 1 : 3);
    listing.climatisation = 3;
    listing.doors = 0;

    const int age = Age(random);
    listing.constructionYear = kNewestYear - age;
    listing.mileage = age == 0 ? random.Between(1, 999)
                               : age * random.Between(1500, 8000) + random.Between(0, 999);
    listing.price = RoundPrice(random.Between(5, 28) * 1000.0 * std::pow(0.88, age));
    listing.features = PickSome(random, data::MotorcycleFeatures(), 2, 7);
}

void FillTruck(Random& random, Listing& listing) {
    const auto& make = PickFrom(random, TruckMakes());
    listing.kind = VehicleKind::Trucks;
    listing.makeId = make.make->id;
    listing.make = make.make->name;
    listing.model = std::string(random.Pick(make.models));

    static constexpr std::string_view kVans[] = {"Transit", "Daily",       "Sprinter", "Crafter",
                                                 "Master",  "Transporter", "Amarok",   "D-Max",
                                                 "L200",    "Canter",      "N75"};
    bool van = false;
    for (auto word : kVans) {
        van = van || listing.model.find(word) != std::string::npos;
    }
    static constexpr std::string_view kVanBodies[] = {"Panel van", "Pick-up", "Box body",
                                                      "Double cab"};
    static constexpr std::string_view kAxles[] = {"4x2", "6x2", "6x4", "8x4"};
    static constexpr std::string_view kBodies[] = {"Tractor unit", "Tipper", "Curtainsider",
                                                   "Box body", "Refrigerated body"};
    listing.headline = listing.make + " " + listing.model + " ";
    listing.headline +=
        van ? std::string(random.Pick(std::span<const std::string_view>(kVanBodies)))
            : std::string(random.Pick(std::span<const std::string_view>(kAxles))) + " " +
                  std::string(random.Pick(std::span<const std::string_view>(kBodies)));

    if (random.Percent(van ? 15 : 2)) {
        listing.fuel = 1;
        listing.fuelLabel = "Petrol";
    } else {
        listing.fuel = 2;
        listing.fuelLabel = "Diesel";
    }
    listing.capacity = van ? random.Between(1995, 2998) : random.Between(6700, 12900);
    listing.power = van ? random.Between(75, 140) : random.Between(150, 485);
    listing.transmission = static_cast<int>(Weighted(random, {30, 20, 50})) + 1;
    listing.climatisation = static_cast<int>(Weighted(random, {50, 35, 15})) + 1;
    listing.doors = random.Percent(85) ? 1 : 2;

    const int age = Age(random);
    listing.constructionYear = kNewestYear - age;
    listing.mileage = age == 0 ? random.Between(10, 9999)
                               : age * random.Between(30000, 120000) + random.Between(0, 999);
    listing.price = RoundPrice((van ? random.Between(25, 60) : random.Between(60, 150)) * 1000.0 *
                               std::pow(0.85, age));
    listing.features = PickSome(random, data::TruckFeatures(), 3, 8);
}

void FillSeller(Random& random, Listing& listing) {
    const auto countries = data::Countries();
    int total = 0;
    for (const auto& country : countries) {
        total += country.weight;
    }
    int roll = random.Between(0, total - 1);
    const data::CountryData* country = &countries.front();
    for (const auto& candidate : countries) {
        if (roll < candidate.weight) {
            country = &candidate;
            break;
        }
        roll -= candidate.weight;
    }

    const auto& city = random.Pick(country->cities);
    const std::string cityLine = std::string(city.postcode) + " " + std::string(city.name);
    const std::string phone = std::string(country->phonePrefix) + " " +
                              std::to_string(random.Between(20, 89)) + " " +
                              std::to_string(random.Between(1000000, 9999999));
    Seller& seller = listing.seller;
    seller.country = country->name;
    seller.countryCode = country->code;
    seller.city = cityLine;
    seller.lines.clear();
    if (random.Percent(65)) {
        seller.type = 1;
        seller.lines.push_back(ReplaceAll(std::string(random.Pick(country->dealerNames)), "{city}",
                                          std::string(city.name)));
        const std::string street(random.Pick(country->streets));
        const std::string number = std::to_string(random.Between(1, 180));
        seller.lines.push_back(country->numberFirst ? number + " " + street
                                                    : street + " " + number);
    } else {
        seller.type = 2;
        seller.lines.emplace_back(random.Pick(country->people));
    }
    seller.lines.push_back(cityLine);
    seller.lines.emplace_back(country->name);
    seller.lines.push_back("Phone: " + phone);
}

void FillDescription(Random& random, Listing& listing) {
    std::span<const std::string_view> own = data::CarSentences();
    if (listing.kind == VehicleKind::Motorcycles) {
        own = data::MotorcycleSentences();
    } else if (listing.kind == VehicleKind::Trucks) {
        own = data::TruckSentences();
    }
    auto sentences = PickSome(random, own, 1, 4);
    for (auto& sentence : PickSome(random, data::CommonSentences(), 1, 2)) {
        sentences.push_back(std::move(sentence));
    }
    for (auto& sentence : sentences) {
        sentence = ReplaceAll(std::move(sentence), "{colour}", listing.colour);
    }
    listing.description = std::move(sentences);
}

}  // namespace

Catalogue::Catalogue(std::uint32_t seed) : seed_(seed) {}

Listing Catalogue::Generate(std::uint64_t index) const {
    Random random(seed_, index);
    Listing listing;
    // Ids grow with the index like a real site's, with gaps of other people's listings.
    listing.id =
        static_cast<std::int32_t>(300'000'000 + (seed_ % 500) * 1'000'000 +
                                  static_cast<std::int64_t>(index) * 1000 + random.Between(0, 999));
    listing.colour = std::string(random.Pick(data::Colours()).name);
    switch (Weighted(random, {70, 18, 12})) {
        case 0:
            FillCar(random, listing);
            break;
        case 1:
            FillMotorcycle(random, listing);
            break;
        default:
            FillTruck(random, listing);
            break;
    }
    listing.registrationYear =
        std::min(kNewestYear, listing.constructionYear + (random.Percent(80) ? 0 : 1));
    listing.registrationMonth = random.Between(1, 12);
    listing.damaged = random.Percent(7);
    if (listing.damaged) {
        listing.price = RoundPrice(listing.price * 0.45);
    }
    listing.featured = random.Percent(12);
    listing.hasPicture = random.Percent(95);
    listing.pictureSeed = static_cast<std::uint32_t>(random.Next());
    listing.entityStyle = random.Between(0, 2);
    FillSeller(random, listing);
    FillDescription(random, listing);
    return listing;
}

}  // namespace marvolt::sim
