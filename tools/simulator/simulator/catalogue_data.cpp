#include "simulator/catalogue_data.h"

#include <array>

// Word lists the catalogue draws from. Seller names and addresses never mention a country
// other than their own, and no text here carries a label the detail page uses as a marker.
namespace marvolt::sim::data {

namespace {

using SV = std::string_view;

constexpr std::array<SV, 3> kAprilia{"RS 660", "Tuono V4", "Tuareg 660"};
constexpr std::array<SV, 2> kBenelli{"TRK 502", "Leoncino 500"};
constexpr std::array<SV, 4> kBmwBikes{"R 1250 GS", "S 1000 RR", "F 900 R", "R nineT"};
constexpr std::array<SV, 3> kDucati{"Monster", "Multistrada V4", "Panigale V2"};
constexpr std::array<SV, 3> kHarley{"Sportster S", "Fat Boy", "Street Glide"};
constexpr std::array<SV, 4> kHondaBikes{"CB500F", "Africa Twin", "CBR650R", "Forza 350"};
constexpr std::array<SV, 3> kHusqvarna{"Svartpilen 401", "Vitpilen 701", "Norden 901"};
constexpr std::array<SV, 3> kIndian{"Scout Bobber", "Chief Dark Horse", "FTR 1200"};
constexpr std::array<SV, 3> kKawasaki{"Z900", "Ninja 650", "Versys 650"};
constexpr std::array<SV, 3> kKtm{"390 Duke", "790 Adventure", "1290 Super Duke R"};
constexpr std::array<SV, 2> kGuzzi{"V7 Stone", "V85 TT"};
constexpr std::array<SV, 2> kMvAgusta{"Brutale 800", "Dragster 800 RR"};
constexpr std::array<SV, 2> kPiaggio{"MP3 500", "Beverly 300"};
constexpr std::array<SV, 3> kEnfield{"Interceptor 650", "Himalayan", "Classic 350"};
constexpr std::array<SV, 3> kSuzukiBikes{"GSX-S750", "V-Strom 650", "SV650"};
constexpr std::array<SV, 3> kTriumph{"Street Triple RS", "Bonneville T120", "Tiger 900"};
constexpr std::array<SV, 3> kVespa{"GTS 300", "Primavera 125", "Sprint 125"};
constexpr std::array<SV, 4> kYamaha{"MT-07", "Tracer 9", "XSR700", "TMAX 560"};

constexpr std::array<NamedModels, 18> kMotorcycleModels{{
    {"Aprilia", kAprilia},
    {"Benelli", kBenelli},
    {"BMW", kBmwBikes},
    {"Ducati", kDucati},
    {"Harley-Davidson", kHarley},
    {"Honda", kHondaBikes},
    {"Husqvarna", kHusqvarna},
    {"Indian", kIndian},
    {"Kawasaki", kKawasaki},
    {"KTM", kKtm},
    {"Moto Guzzi", kGuzzi},
    {"MV Agusta", kMvAgusta},
    {"Piaggio", kPiaggio},
    {"Royal Enfield", kEnfield},
    {"Suzuki", kSuzukiBikes},
    {"Triumph", kTriumph},
    {"Vespa", kVespa},
    {"Yamaha", kYamaha},
}};

constexpr std::array<SV, 3> kDaf{"XF 480", "CF 450", "LF 230"};
constexpr std::array<SV, 2> kFordTrucks{"Transit 350 L3H2", "F-Max 500"};
constexpr std::array<SV, 2> kIsuzu{"N75.190", "D-Max Double Cab"};
constexpr std::array<SV, 3> kIveco{"Daily 35S16", "Eurocargo 120E25", "S-Way 490"};
constexpr std::array<SV, 3> kMan{"TGX 18.510", "TGS 26.440", "TGL 12.250"};
constexpr std::array<SV, 3> kMercedesTrucks{"Actros 1845", "Atego 1224", "Sprinter 316 CDI"};
constexpr std::array<SV, 2> kMitsubishiTrucks{"Fuso Canter 7C15", "L200 Club Cab"};
constexpr std::array<SV, 3> kRenaultTrucks{"T 480", "Master 2.3 dCi", "D Wide 320"};
constexpr std::array<SV, 3> kScania{"R 450", "S 500", "P 280"};
constexpr std::array<SV, 2> kTatra{"Phoenix 8x8", "T815-2"};
constexpr std::array<SV, 3> kVwTrucks{"Crafter 35", "Transporter T6.1", "Amarok V6"};
constexpr std::array<SV, 3> kVolvoTrucks{"FH 500", "FM 420", "FL 250"};

constexpr std::array<NamedModels, 12> kTruckModels{{
    {"DAF", kDaf},
    {"Ford", kFordTrucks},
    {"Isuzu", kIsuzu},
    {"Iveco", kIveco},
    {"MAN", kMan},
    {"Mercedes-Benz", kMercedesTrucks},
    {"Mitsubishi", kMitsubishiTrucks},
    {"Renault", kRenaultTrucks},
    {"Scania", kScania},
    {"Tatra", kTatra},
    {"Volkswagen", kVwTrucks},
    {"Volvo", kVolvoTrucks},
}};

constexpr std::array<Colour, 12> kColours{{
    {"Black metallic", 20, 20, 24},
    {"Moonstone grey metallic", 120, 124, 130},
    {"Glacier white", 236, 238, 240},
    {"Racing red", 196, 24, 32},
    {"Midnight blue pearl", 24, 40, 96},
    {"Silver metallic", 184, 188, 192},
    {"British racing green", 16, 72, 40},
    {"Sunset orange", 232, 112, 24},
    {"Sand beige", 200, 180, 140},
    {"Ocean blue", 32, 104, 176},
    {"Lime yellow", 208, 216, 40},
    {"Bordeaux red metallic", 104, 16, 32},
}};

constexpr std::array<SV, 10> kCarTrims{"Comfortline", "Highline",       "Sport",   "Business",
                                       "Premium",     "Style",          "Edition", "Elegance",
                                       "Trend",       "Limited Edition"};

constexpr std::array<SV, 24> kCarFeatures{
    "ABS",
    "ESP",
    "Alloy wheels 17\"",
    "Navigation system",
    "Bluetooth hands-free kit",
    "Cruise control",
    "Park Distance Control front & rear",
    "Heated seats",
    "Rain sensor",
    "Xenon headlights",
    "LED daytime running lights",
    "Isofix",
    "Start/stop system",
    "Trailer coupling",
    "Panoramic roof",
    "Electric windows",
    "Central locking",
    "Multi-function steering wheel",
    "Lane departure warning",
    "Reversing camera",
    "Sports seats",
    "Tinted windows",
    "Roof rails",
    "Leather interior",
};

constexpr std::array<SV, 14> kMotorcycleFeatures{
    "ABS",
    "Traction control",
    "Riding modes",
    "Quickshifter",
    "Heated grips",
    "LED headlight",
    "Top case",
    "Side cases",
    "Centre stand",
    "Cruise control",
    "Tyre pressure monitoring",
    "Touring screen",
    "Crash bars",
    "USB socket",
};

constexpr std::array<SV, 14> kTruckFeatures{
    "ABS",
    "ESP",
    "Retarder",
    "Sleeper cab",
    "Air suspension",
    "Tail lift",
    "Trailer coupling",
    "Auxiliary heating",
    "Tachograph",
    "Cruise control",
    "Refrigerator",
    "Differential lock",
    "Bluetooth hands-free kit",
    "Lane departure warning",
};

constexpr std::array<SV, 9> kCarSentences{
    "Paint: {colour}.",
    "Full service history at the authorised dealer, last inspection 09/2023.",
    "Non-smoker vehicle, garage kept.",
    "Timing belt & water pump replaced at 90,000 km.",
    "Summer and winter tyres included (4× on steel rims).",
    "Two keys, owner’s manual and service book are present.",
    "New MOT/inspection on handover.",
    "Interior in very good condition – no tears, no stains.",
    "Second owner since 2019.",
};

constexpr std::array<SV, 8> kMotorcycleSentences{
    "Paint: {colour}.",
    "Always serviced at the dealer, last service at the start of the season.",
    "New chain & sprockets fitted in spring.",
    "Never dropped, winter storage in a heated garage.",
    "Original exhaust included, currently fitted with an approved sports silencer.",
    "Tyres almost new (front 2023, rear 2024).",
    "Ridden only in dry weather – looks like new.",
    "A2 licence restriction kit available.",
};

constexpr std::array<SV, 9> kTruckSentences{
    "Cab paint: {colour}.",
    "Regularly serviced, complete maintenance records available.",
    "Euro 6 emission class, Ad-Blue system checked.",
    "Tachograph calibrated 03/2024.",
    "Gross vehicle weight 18,000 kg, payload approx. 9,500 kg.",
    "Brakes & clutch renewed last year.",
    "Used for regional distribution only.",
    "Ready for work – can be inspected at our yard.",
    "Auxiliary heater works from −20 °C.",
};

constexpr std::array<SV, 13> kCommonSentences{
    "Price € negotiable for quick decision.",
    "Viewing by appointment only – please call ahead.",
    "Financing & part exchange possible.",
    "Export price on request.",
    "Zustand: sehr gut, scheckheftgepflegt – Besichtigung jederzeit möglich.",
    "Stan bardzo dobry, bezwypadkowy, serwisowany w ASO.",
    "Très bon état général, entretien à jour, révision effectuée.",
    "Ottime condizioni, tagliandi certificati, unico proprietario.",
    "Nette staat, onderhoudsboekjes aanwezig, rijdt perfect.",
    "Väga heas korras, hooldusraamat olemas.",
    "Warranty 12 months according to § 437.",
    "Sold \"as seen\" – no guarantee on a private sale.",
    "Extras worth € 2,500 included… ask for the list.",
};

constexpr std::array<City, 6> kGermanCities{{{"10115", "Berlin"},
                                             {"20095", "Hamburg"},
                                             {"80331", "München"},
                                             {"50667", "Köln"},
                                             {"70173", "Stuttgart"},
                                             {"04109", "Leipzig"}}};
constexpr std::array<SV, 6> kGermanStreets{"Hauptstraße",     "Bahnhofstraße", "Industriestraße",
                                           "Gewerbepark Süd", "Am Mühlbach",   "Lindenallee"};
constexpr std::array<SV, 4> kGermanDealers{"Autohaus Müller & Söhne GmbH", "Auto-Center {city}",
                                           "Fahrzeughandel Schröder", "Kraftfahrzeuge Weiß KG"};
constexpr std::array<SV, 5> kGermanPeople{"Jürgen Becker", "Anna Schmidt", "Jörg Krüger",
                                          "Sabine Hoffmann", "Günter Maaß"};

constexpr std::array<City, 5> kItalianCities{{{"20121", "Milano"},
                                              {"00184", "Roma"},
                                              {"10121", "Torino"},
                                              {"40121", "Bologna"},
                                              {"80133", "Napoli"}}};
constexpr std::array<SV, 4> kItalianStreets{"Via Roma", "Corso Vittorio Emanuele",
                                            "Viale dell'Industria", "Via Garibaldi"};
constexpr std::array<SV, 3> kItalianDealers{"Autosalone Ferri S.r.l.", "{city} Motori S.p.A.",
                                            "Concessionaria Bianchi"};
constexpr std::array<SV, 4> kItalianPeople{"Niccolò Rossi", "Giulia Romano", "Luca Esposito",
                                           "Chiara Colombo"};

constexpr std::array<City, 5> kPolishCities{{{"00-950", "Warszawa"},
                                             {"30-001", "Kraków"},
                                             {"80-001", "Gdańsk"},
                                             {"50-001", "Wrocław"},
                                             {"60-001", "Poznań"}}};
constexpr std::array<SV, 4> kPolishStreets{"ul. Marszałkowska", "ul. Długa", "al. Jerozolimskie",
                                           "ul. Przemysłowa"};
constexpr std::array<SV, 3> kPolishDealers{"Auto-Handel Kowalski Sp. z o.o.",
                                           "Salon Samochodowy {city}", "Komis Wiśniewski"};
constexpr std::array<SV, 4> kPolishPeople{"Łukasz Nowak", "Małgorzata Wójcik", "Paweł Zieliński",
                                          "Katarzyna Lewandowska"};

constexpr std::array<City, 5> kFrenchCities{{{"75011", "Paris"},
                                             {"69002", "Lyon"},
                                             {"13001", "Marseille"},
                                             {"31000", "Toulouse"},
                                             {"67000", "Strasbourg"}}};
constexpr std::array<SV, 4> kFrenchStreets{"Rue de la République", "Avenue Jean Jaurès",
                                           "Boulevard Voltaire", "Rue du Général Leclerc"};
constexpr std::array<SV, 3> kFrenchDealers{"Garage Lefèvre & Fils", "Automobiles de {city}",
                                           "Centre Auto Dubois SARL"};
constexpr std::array<SV, 4> kFrenchPeople{"François Martin", "Hélène Bernard", "Jérôme Petit",
                                          "Céline Durand"};

constexpr std::array<City, 5> kDutchCities{{{"1012 AB", "Amsterdam"},
                                            {"3011 AD", "Rotterdam"},
                                            {"3511 AX", "Utrecht"},
                                            {"5611 AZ", "Eindhoven"},
                                            {"9711 AA", "Groningen"}}};
constexpr std::array<SV, 4> kDutchStreets{"Industrieweg", "Stationsstraat", "Kerkstraat",
                                          "Havenkade"};
constexpr std::array<SV, 3> kDutchDealers{"Autobedrijf De Vries B.V.", "Autohandel {city}",
                                          "Garage Van den Berg"};
constexpr std::array<SV, 4> kDutchPeople{"Daan de Jong", "Sanne Janssen", "Bram Bakker",
                                         "Eva Visser"};

constexpr std::array<City, 5> kBelgianCities{{{"1000", "Bruxelles"},
                                              {"2000", "Antwerpen"},
                                              {"9000", "Gent"},
                                              {"4000", "Liège"},
                                              {"8000", "Brugge"}}};
constexpr std::array<SV, 4> kBelgianStreets{"Rue de la Loi", "Meir", "Chaussée de Louvain",
                                            "Kortrijksesteenweg"};
constexpr std::array<SV, 3> kBelgianDealers{"Garage Peeters NV", "Auto {city} SPRL",
                                            "Carrosserie Maes"};
constexpr std::array<SV, 4> kBelgianPeople{"Lotte Claes", "Théo Dupont", "Wout Jacobs",
                                           "Amélie Lambert"};

constexpr std::array<City, 4> kEstonianCities{
    {{"10117", "Tallinn"}, {"51003", "Tartu"}, {"80010", "Pärnu"}, {"20308", "Narva"}}};
constexpr std::array<SV, 4> kEstonianStreets{"Narva mnt", "Pärnu mnt", "Tähe tänav",
                                             "Peterburi tee"};
constexpr std::array<SV, 2> kEstonianDealers{"Autokeskus OÜ", "{city} Auto AS"};
constexpr std::array<SV, 3> kEstonianPeople{"Jüri Tamm", "Mari Saar", "Märt Kask"};

constexpr std::array<CountryData, 7> kCountries{{
    {"Germany", "DE", 40, "+49", kGermanCities, kGermanStreets, kGermanDealers, kGermanPeople,
     false},
    {"Poland", "PL", 15, "+48", kPolishCities, kPolishStreets, kPolishDealers, kPolishPeople,
     false},
    {"Italy", "IT", 10, "+39", kItalianCities, kItalianStreets, kItalianDealers, kItalianPeople,
     false},
    {"France", "FR", 10, "+33", kFrenchCities, kFrenchStreets, kFrenchDealers, kFrenchPeople, true},
    {"Netherlands", "NL", 10, "+31", kDutchCities, kDutchStreets, kDutchDealers, kDutchPeople,
     false},
    {"Belgium", "BE", 10, "+32", kBelgianCities, kBelgianStreets, kBelgianDealers, kBelgianPeople,
     false},
    {"Estonia", "EE", 5, "+372", kEstonianCities, kEstonianStreets, kEstonianDealers,
     kEstonianPeople, false},
}};

}  // namespace

std::span<const NamedModels> MotorcycleModels() {
    return kMotorcycleModels;
}
std::span<const NamedModels> TruckModels() {
    return kTruckModels;
}
std::span<const Colour> Colours() {
    return kColours;
}
std::span<const std::string_view> CarTrims() {
    return kCarTrims;
}
std::span<const std::string_view> CarFeatures() {
    return kCarFeatures;
}
std::span<const std::string_view> MotorcycleFeatures() {
    return kMotorcycleFeatures;
}
std::span<const std::string_view> TruckFeatures() {
    return kTruckFeatures;
}
std::span<const std::string_view> CarSentences() {
    return kCarSentences;
}
std::span<const std::string_view> MotorcycleSentences() {
    return kMotorcycleSentences;
}
std::span<const std::string_view> TruckSentences() {
    return kTruckSentences;
}
std::span<const std::string_view> CommonSentences() {
    return kCommonSentences;
}
std::span<const CountryData> Countries() {
    return kCountries;
}

}  // namespace marvolt::sim::data
