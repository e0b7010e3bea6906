#include "scanner/search_address.h"

#include <gtest/gtest.h>

#include <string>

#include "scanner/task_hand_over.h"

namespace marvolt {
namespace {

const std::string kBase = "http://site.test:8080";
const std::string kCarSearch =
    "/auto/search.html?isSearchRequest=true&lang=en&export=ALSO_EXPORT&sortOption.sortBy="
    "searchNetGrossPrice&scopeId=C&sortPath=creationTime&defaultOrder=DESCENDING&useCase="
    "ChangeSortOrder&daysAfterCreation=1";

std::string AddressOf(const TaskValues& task) {
    SearchAddress address(kBase);
    HandOverTask(task, address);
    return address.Url();
}

// The part of the address after the base search path and query.
std::string ParametersOf(const TaskValues& task) {
    const std::string url = AddressOf(task);
    const std::string prefix = kBase + kCarSearch;
    EXPECT_EQ(url.substr(0, prefix.size()), prefix);
    return url.substr(std::min(prefix.size(), url.size()));
}

TEST(SearchAddressTest, WorkedExampleCarTask) {
    TaskValues task;
    task.vehicleKind = 0;
    task.makeId = 3500;
    task.modelId = 0;
    task.fuel = 2;
    task.country = "Germany";
    task.zip = "10115";
    task.radius = 50;
    task.priceFrom = 0;
    task.priceTo = 15000;
    task.registrationFrom = 2005;
    task.registrationTo = 2010;
    EXPECT_EQ(AddressOf(task),
              kBase +
                  "/auto/search.html?isSearchRequest=true&lang=en&export=ALSO_EXPORT&sortOption."
                  "sortBy=searchNetGrossPrice&scopeId=C&sortPath=creationTime&defaultOrder="
                  "DESCENDING&useCase=ChangeSortOrder&daysAfterCreation=1&makeModelVariant1."
                  "makeId=3500&fuels=DIESEL&damageUnrepaired=NO_DAMAGE_UNREPAIRED&&ambitCountry="
                  "DE&&zipcode=10115&&zipcodeRadius=50&minPrice=0&maxPrice=15000&"
                  "minFirstRegistrationDate=2005-01-01&maxFirstRegistrationDate=2010-12-31");
}

TEST(SearchAddressTest, EveryParameterInHandOverOrder) {
    TaskValues task;
    task.idSchedule = 9;
    task.makeId = 1;
    task.modelId = 2;
    task.model = "ignored for cars";
    task.fuel = 1;
    task.damaged = 2;
    task.transmission = 3;
    task.sellerType = 2;
    task.country = "Austria";
    task.zip = "1010";
    task.radius = 65535;
    task.doors = 3;
    task.climatisation = 3;
    task.powerFrom = 50;
    task.powerTo = -1;
    task.engineFrom = 1000;
    task.engineTo = 2000;
    task.priceFrom = 5000;
    task.priceTo = 0;
    task.mileageFrom = 0;
    task.mileageTo = 90000;
    task.registrationFrom = 0;
    task.registrationTo = 2010;
    EXPECT_EQ(ParametersOf(task),
              "&makeModelVariant1.makeId=1&makeModelVariant1.modelId=2&fuels=PETROL"
              "&damageUnrepaired=ONLY_DAMAGE_UNREPAIRED&transmissions=SEMIAUTOMATIC_GEAR"
              "&adLimitation=ONLY_FSBO_ADS&&ambitCountry=AT&&zipcode=1010&&zipcodeRadius=65535"
              "&doorCount=SIX_OR_SEVEN&climatisation=NO_CLIMATISATION"
              "&minPowerAsArray=50&minPowerAsArray=KW&maxPowerAsArray=-1&maxPowerAsArray=KW"
              "&minCubicCapacity=1000&maxCubicCapacity=2000&minPrice=5000&maxPrice=0"
              "&minMileage=0&maxMileage=90000"
              "&minFirstRegistrationDate=0-01-01&maxFirstRegistrationDate=2010-12-31");
}

TEST(SearchAddressTest, EmptyTaskSendsMakeAndDamageOnly) {
    EXPECT_EQ(ParametersOf(TaskValues{}),
              "&makeModelVariant1.makeId=0&damageUnrepaired=NO_DAMAGE_UNREPAIRED");
}

TEST(SearchAddressTest, OtherVehicleKindsSendTheModelText) {
    TaskValues task;
    task.vehicleKind = 1;
    task.modelId = 77;
    EXPECT_EQ(AddressOf(task),
              kBase +
                  "/motorrad/search.html?isSearchRequest=true&lang=en&export=ALSO_EXPORT"
                  "&sortOption.sortBy=searchNetGrossPrice&scopeId=MB&sortPath=creationTime"
                  "&defaultOrder=DESCENDING&useCase=ChangeSortOrder&daysAfterCreation=1"
                  "&makeModelVariant1.makeId=0&makeModelVariant1.modelDescription="
                  "&damageUnrepaired=NO_DAMAGE_UNREPAIRED");
    task.vehicleKind = 2;
    task.model = "Actros 1845 & more";
    const std::string url = AddressOf(task);
    EXPECT_NE(url.find("/lkw/search.html?"), std::string::npos) << url;
    EXPECT_NE(url.find("&scopeId=AT&"), std::string::npos) << url;
    // Texts go in as they are, without percent-encoding.
    EXPECT_NE(url.find("&makeModelVariant1.modelDescription=Actros 1845 & more&"),
              std::string::npos)
        << url;
}

TEST(SearchAddressTest, CodedParameters) {
    const struct {
        int TaskValues::*field;
        int code;
        const char* parameter;  // nothing appended when empty
    } cases[] = {
        {&TaskValues::fuel, 2, "&fuels=DIESEL"},
        {&TaskValues::fuel, 3, "&fuels=LPG"},
        {&TaskValues::fuel, 4, ""},
        {&TaskValues::transmission, 1, "&transmissions=MANUAL_GEAR"},
        {&TaskValues::transmission, 2, "&transmissions=AUTOMATIC_GEAR"},
        {&TaskValues::transmission, -1, ""},
        {&TaskValues::sellerType, 1, "&adLimitation=ONLY_DEALER_ADS"},
        {&TaskValues::sellerType, 3, ""},
        {&TaskValues::climatisation, 1, "&climatisation=MANUAL_OR_AUTOMATIC_CLIMATISATION"},
        {&TaskValues::climatisation, 2, "&climatisation=AUTOMATIC_CLIMATISATION"},
        {&TaskValues::climatisation, 4, ""},
        {&TaskValues::doors, 1, "&doorCount=TWO_OR_THREE"},
        {&TaskValues::doors, 2, "&doorCount=FOUR_OR_FIVE"},
        {&TaskValues::doors, 9, ""},
        {&TaskValues::modelId, 5, "&makeModelVariant1.modelId=5"},
        {&TaskValues::modelId, -5, ""},
    };
    for (const auto& c : cases) {
        TaskValues task;
        task.*c.field = c.code;
        // The model id and the fuel go before the damage parameter, the others after it.
        const bool before = c.field == &TaskValues::modelId || c.field == &TaskValues::fuel;
        EXPECT_EQ(ParametersOf(task),
                  std::string("&makeModelVariant1.makeId=0") + (before ? c.parameter : "") +
                      "&damageUnrepaired=NO_DAMAGE_UNREPAIRED" + (before ? "" : c.parameter))
            << c.parameter << " code " << c.code;
    }
}

TEST(SearchAddressTest, DamageIsAlwaysSentUnlessBeyondItsTable) {
    const struct {
        int code;
        const char* parameter;
    } cases[] = {{0, "&damageUnrepaired=NO_DAMAGE_UNREPAIRED"},
                 {1, "&damageUnrepaired=ALSO_DAMAGE_UNREPAIRED"},
                 {2, "&damageUnrepaired=ONLY_DAMAGE_UNREPAIRED"},
                 {3, ""}};
    for (const auto& c : cases) {
        TaskValues task;
        task.damaged = c.code;
        EXPECT_EQ(ParametersOf(task), std::string("&makeModelVariant1.makeId=0") + c.parameter);
    }
}

TEST(SearchAddressTest, CountryZipAndRadius) {
    const struct {
        const char* country;
        const char* zip;
        const char* parameters;
    } cases[] = {
        {"Poland", "00-001", "&&ambitCountry=PL&&zipcode=00-001&&zipcodeRadius=20"},
        {"Italy", "", "&&ambitCountry=IT&&zipcode="},  // no radius without a zip code
        {"Belgium", "1000", "&&ambitCountry=BE&&zipcode=1000&&zipcodeRadius=20"},
        {"Netherlands", "", "&&ambitCountry=NL&&zipcode="},
        {"France", "", "&&ambitCountry=FR&&zipcode="},
        {"", "10115", ""},  // no zip code or radius without a country
        // A name outside the table sends no country, but zip code and radius still go.
        {"Deutschland", "1 0&1", "&&zipcode=1 0&1&&zipcodeRadius=20"},
        {"germany", "", "&&zipcode="},
    };
    for (const auto& c : cases) {
        TaskValues task;
        task.country = c.country;
        task.zip = c.zip;
        task.radius = 20;
        EXPECT_EQ(ParametersOf(task), std::string("&makeModelVariant1.makeId=0&damageUnrepaired="
                                                  "NO_DAMAGE_UNREPAIRED") +
                                          c.parameters)
            << c.country << "/" << c.zip;
    }
}

TEST(SearchAddressTest, RangesGoOnlyWhenOneBoundIsSet) {
    TaskValues task;
    task.priceFrom = 5000;
    EXPECT_EQ(ParametersOf(task),
              "&makeModelVariant1.makeId=0&damageUnrepaired=NO_DAMAGE_UNREPAIRED"
              "&minPrice=5000&maxPrice=0");
    task = TaskValues{};
    task.engineTo = 1600;
    task.powerFrom = -10;
    EXPECT_EQ(ParametersOf(task),
              "&makeModelVariant1.makeId=0&damageUnrepaired=NO_DAMAGE_UNREPAIRED"
              "&minPowerAsArray=-10&minPowerAsArray=KW&maxPowerAsArray=0&maxPowerAsArray=KW"
              "&minCubicCapacity=0&maxCubicCapacity=1600");
}

TEST(SearchAddressTest, SettersKeepTheirValues) {
    SearchAddress address(kBase);
    EXPECT_EQ(address.Url(), "");
    address.SetIdSchedule(12);
    address.SetCountry("Estonia");  // not in the country table, still kept
    address.SetZip("10111");
    address.SetRadius(5);
    EXPECT_EQ(address.IdSchedule(), 12);
    EXPECT_EQ(address.Country(), "Estonia");
    EXPECT_EQ(address.Zip(), "10111");
    EXPECT_EQ(address.Values().radius, 5);
    // The vehicle kind starts a new address; an unknown kind leaves none.
    address.SetVehicleKind(0);
    EXPECT_EQ(address.Url(), kBase + kCarSearch);
    address.SetVehicleKind(3);
    EXPECT_EQ(address.Url(), "");
    address.SetVehicleKind(-1);
    EXPECT_EQ(address.Url(), "");
}

}  // namespace
}  // namespace marvolt
