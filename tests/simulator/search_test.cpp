// The search page: every filter the scanner's address can carry, the order and size of the
// first result page, and listings appearing over time.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "db/reference_data.h"
#include "scanner/page_text.h"
#include "simulator/catalogue.h"
#include "test_site.h"

namespace marvolt::sim {
namespace {

using namespace std::chrono_literals;

// What the scanner's address always starts with after the path.
constexpr char kBaseQuery[] =
    "isSearchRequest=true&lang=en&export=ALSO_EXPORT&sortOption.sortBy=searchNetGrossPrice"
    "&scopeId=C&sortPath=creationTime&defaultOrder=DESCENDING&useCase=ChangeSortOrder"
    "&daysAfterCreation=1";

// The listing ids of a result page in page order, found the way the scanner finds them.
std::vector<std::int32_t> ResultIds(const std::string& body) {
    const std::string text = NormalizePage(body);
    static const std::regex entry(
        "listEntry (normalAd|eyecatcherContainer).*?name=\"parkAndCompare\" value=\"(\\d+)\"");
    std::vector<std::int32_t> ids;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry);
         it != std::sregex_iterator(); ++it) {
        ids.push_back(std::stoi((*it)[2].str()));
    }
    return ids;
}

std::vector<std::int32_t> Search(test::TestSite& site, const std::string& path,
                                 const std::string& query) {
    const auto answer = site.Client()->Get(path + "?" + kBaseQuery + query);
    EXPECT_TRUE(answer) << query;
    if (!answer) {
        return {};
    }
    EXPECT_EQ(answer->status, 200) << query;
    return ResultIds(answer->body);
}

const MakeRow& CarMakeWithModels(int skip) {
    for (const auto& make : ReferenceMakes()) {
        const auto models = std::count_if(ReferenceModels().begin(), ReferenceModels().end(),
                                          [&](const ModelRow& m) { return m.idMake == make.id; });
        if (make.cars && models >= 2 && skip-- == 0) {
            return make;
        }
    }
    throw std::logic_error("the reference data has too few car makes");
}

std::vector<int> ModelsOf(int makeId) {
    std::vector<int> ids;
    for (const auto& model : ReferenceModels()) {
        if (model.idMake == makeId) {
            ids.push_back(model.id);
        }
    }
    return ids;
}

int MakeOffering(bool MakeRow::*kind) {
    for (const auto& make : ReferenceMakes()) {
        if (make.*kind) {
            return make.id;
        }
    }
    return 0;
}

class SearchFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto& make = CarMakeWithModels(0);
        const auto& otherMake = CarMakeWithModels(1);
        makeId_ = make.id;
        otherMakeId_ = otherMake.id;
        otherModelId_ = ModelsOf(make.id)[1];

        Listing base = Catalogue(5).Generate(0);
        base.id = 0;
        base.kind = VehicleKind::Cars;
        base.makeId = make.id;
        base.modelId = ModelsOf(make.id)[0];
        base.fuel = 1;
        base.transmission = 1;
        base.climatisation = 1;
        base.doors = 2;
        base.damaged = false;
        base.seller.type = 1;
        base.seller.country = "Germany";
        base.seller.countryCode = "DE";
        base.price = 10000;
        base.mileage = 100000;
        base.capacity = 1600;
        base.power = 80;
        base.registrationYear = 2015;
        base.registrationMonth = 6;

        auto add = [&](const std::string& label, auto change) {
            Listing listing = base;
            change(listing);
            labels_[site_.simulator->Publish(listing).id] = label;
        };
        auto same = [](Listing&) {};
        add("base", same);
        add("diesel", [](Listing& l) {
            l.fuel = 2;
            l.transmission = 2;
            l.climatisation = 2;
        });
        add("lpg", [](Listing& l) {
            l.fuel = 3;
            l.transmission = 3;
            l.climatisation = 3;
            l.doors = 1;
        });
        add("electric", [](Listing& l) {
            l.fuel = 0;
            l.capacity = 0;
            l.doors = 3;
        });
        add("private_pl", [](Listing& l) {
            l.seller.type = 2;
            l.seller.country = "Poland";
            l.seller.countryCode = "PL";
        });
        add("damaged", [](Listing& l) { l.damaged = true; });
        add("other_make", [&](Listing& l) {
            l.makeId = otherMake.id;
            l.modelId = ModelsOf(otherMake.id)[0];
        });
        add("other_model", [&](Listing& l) { l.modelId = otherModelId_; });
        add("cheap", [](Listing& l) { l.price = 2000; });
        add("expensive", [](Listing& l) { l.price = 50000; });
        add("old", [](Listing& l) {
            l.registrationYear = 2005;
            l.registrationMonth = 3;
        });
        add("new", [](Listing& l) {
            l.registrationYear = 2023;
            l.registrationMonth = 1;
        });
        add("high_mileage", [](Listing& l) { l.mileage = 300000; });
        add("strong", [](Listing& l) {
            l.power = 200;
            l.capacity = 3000;
        });
        add("bike", [](Listing& l) {
            l.kind = VehicleKind::Motorcycles;
            l.makeId = MakeOffering(&MakeRow::motorcycles);
            l.modelId = 0;
            l.model = "Street Triple RS";
        });
        add("truck", [](Listing& l) {
            l.kind = VehicleKind::Trucks;
            l.makeId = MakeOffering(&MakeRow::trucks);
            l.modelId = 0;
            l.model = "Actros 1845";
        });
    }

    std::set<std::string> Labels(const std::vector<std::int32_t>& ids) {
        std::set<std::string> labels;
        for (auto id : ids) {
            labels.insert(labels_.count(id) ? labels_[id] : "unknown " + std::to_string(id));
        }
        return labels;
    }

    test::TestSite site_;
    std::map<std::int32_t, std::string> labels_;
    int makeId_ = 0;
    int otherMakeId_ = 0;
    int otherModelId_ = 0;
};

TEST_F(SearchFilterTest, EveryParameterNarrowsTheResults) {
    const std::string make = "&makeModelVariant1.makeId=" + std::to_string(makeId_);
    const std::string noDamage = "&damageUnrepaired=NO_DAMAGE_UNREPAIRED";
    const std::string power =
        "&minPowerAsArray=%d&minPowerAsArray=KW&maxPowerAsArray=%d"
        "&maxPowerAsArray=KW";
    auto powerRange = [&](int from, int to) {
        std::string text = power;
        text.replace(text.find("%d"), 2, std::to_string(from));
        text.replace(text.find("%d"), 2, std::to_string(to));
        return text;
    };
    const std::set<std::string> allCars{"base",         "diesel",    "lpg",        "electric",
                                        "private_pl",   "damaged",   "other_make", "other_model",
                                        "cheap",        "expensive", "old",        "new",
                                        "high_mileage", "strong"};
    std::set<std::string> undamagedCars = allCars;
    undamagedCars.erase("damaged");
    std::set<std::string> makeUndamaged = undamagedCars;
    makeUndamaged.erase("other_make");

    struct Case {
        std::string path;
        std::string query;
        std::set<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"/auto/search.html", "&makeModelVariant1.makeId=0", allCars},
        {"/auto/search.html", "&makeModelVariant1.makeId=0" + noDamage, undamagedCars},
        {"/auto/search.html", "&makeModelVariant1.makeId=0&damageUnrepaired=ALSO_DAMAGE_UNREPAIRED",
         allCars},
        {"/auto/search.html",
         "&makeModelVariant1.makeId=0&damageUnrepaired=ONLY_DAMAGE_UNREPAIRED",
         {"damaged"}},
        {"/auto/search.html", make + noDamage, makeUndamaged},
        {"/auto/search.html",
         "&makeModelVariant1.makeId=" + std::to_string(otherMakeId_) + noDamage,
         {"other_make"}},
        {"/auto/search.html",
         make + "&makeModelVariant1.modelId=" + std::to_string(otherModelId_) + noDamage,
         {"other_model"}},
        {"/auto/search.html", make + "&fuels=DIESEL" + noDamage, {"diesel"}},
        {"/auto/search.html", make + "&fuels=LPG" + noDamage, {"lpg"}},
        {"/auto/search.html", make + "&transmissions=AUTOMATIC_GEAR" + noDamage, {"diesel"}},
        {"/auto/search.html", make + "&transmissions=SEMIAUTOMATIC_GEAR" + noDamage, {"lpg"}},
        {"/auto/search.html", make + noDamage + "&adLimitation=ONLY_FSBO_ADS", {"private_pl"}},
        {"/auto/search.html",
         make + noDamage + "&&ambitCountry=PL&&zipcode=00-950&&zipcodeRadius=50",
         {"private_pl"}},
        {"/auto/search.html", make + noDamage + "&&ambitCountry=IT", {}},
        {"/auto/search.html", make + noDamage + "&doorCount=TWO_OR_THREE", {"lpg"}},
        {"/auto/search.html", make + noDamage + "&doorCount=SIX_OR_SEVEN", {"electric"}},
        {"/auto/search.html",
         make + noDamage + "&climatisation=AUTOMATIC_CLIMATISATION",
         {"diesel"}},
        {"/auto/search.html", make + noDamage + "&climatisation=NO_CLIMATISATION", {"lpg"}},
        {"/auto/search.html", make + noDamage + powerRange(150, 0), {"strong"}},
        // Bounds are inclusive; 0 leaves a side open.
        {"/auto/search.html", make + "&fuels=DIESEL" + noDamage + powerRange(0, 80), {"diesel"}},
        {"/auto/search.html", make + "&fuels=DIESEL" + noDamage + powerRange(0, 79), {}},
        {"/auto/search.html",
         make + noDamage + "&minCubicCapacity=2500&maxCubicCapacity=0",
         {"strong"}},
        {"/auto/search.html",
         make + noDamage + "&minCubicCapacity=0&maxCubicCapacity=1000",
         {"electric"}},
        {"/auto/search.html", make + noDamage + "&minPrice=0&maxPrice=5000", {"cheap"}},
        {"/auto/search.html", make + noDamage + "&minPrice=40000&maxPrice=0", {"expensive"}},
        {"/auto/search.html",
         make + noDamage + "&minMileage=250000&maxMileage=0",
         {"high_mileage"}},
        {"/auto/search.html",
         make + noDamage + "&minFirstRegistrationDate=0-01-01&maxFirstRegistrationDate=2010-12-31",
         {"old"}},
        {"/auto/search.html",
         make + noDamage + "&minFirstRegistrationDate=2020-01-01&maxFirstRegistrationDate=0-12-31",
         {"new"}},
        {"/auto/search.html",
         make + noDamage +
             "&minFirstRegistrationDate=2005-01-01&maxFirstRegistrationDate=2005-12-31",
         {"old"}},
        // An address as the scanner builds it, with every kind of separator.
        {"/auto/search.html",
         make + "&fuels=DIESEL" + noDamage +
             "&&ambitCountry=DE&&zipcode=10115&&zipcodeRadius=50&minPrice=0&maxPrice=15000"
             "&minFirstRegistrationDate=2005-01-01&maxFirstRegistrationDate=2016-12-31",
         {"diesel"}},
        {"/motorrad/search.html",
         "&makeModelVariant1.makeId=0&makeModelVariant1.modelDescription=",
         {"bike"}},
        {"/motorrad/search.html",
         "&makeModelVariant1.makeId=0&makeModelVariant1.modelDescription=street%20triple",
         {"bike"}},
        {"/motorrad/search.html",
         "&makeModelVariant1.makeId=0&makeModelVariant1.modelDescription=Ninja",
         {}},
        {"/lkw/search.html",
         "&makeModelVariant1.makeId=0&makeModelVariant1.modelDescription=actros",
         {"truck"}},
        // Unknown parameters and values are ignored, as a tolerant site does.
        {"/auto/search.html", make + noDamage + "&fuels=HYDROGEN&colour=red&&&", makeUndamaged},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Labels(Search(site_, c.path, c.query)), c.expected)
            << c.path << "?..." << c.query;
    }
}

TEST(SearchPageTest, FirstPageListsTheLastDaysNewestTwentyWithEntryMarkers) {
    test::TestSite site;
    const Listing stale = site.simulator->PublishNow();
    site.clock.Advance(25h);
    std::vector<Listing> published;
    for (int i = 0; i < 25; ++i) {
        Listing listing = Catalogue(9).Generate(static_cast<std::uint64_t>(i));
        listing.id = 0;
        listing.kind = VehicleKind::Cars;
        listing.damaged = false;
        listing.featured = i % 7 == 3;
        published.push_back(site.simulator->Publish(listing));
        site.clock.Advance(1min);
    }
    std::reverse(published.begin(), published.end());  // newest first

    const auto answer = site.Client()->Get(std::string("/auto/search.html?") + kBaseQuery +
                                           "&makeModelVariant1.makeId=0");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->get_header_value("Content-Type"), "text/html; charset=UTF-8");
    const auto ids = ResultIds(answer->body);
    ASSERT_EQ(ids.size(), 20u);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(ids[i], published[i].id) << "position " << i;
    }
    EXPECT_EQ(std::count(ids.begin(), ids.end(), stale.id), 0);

    // Featured listings are eye-catchers in their place; every other entry is a normal ad.
    const std::string text = NormalizePage(answer->body);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto at = text.find("name=\"parkAndCompare\" value=\"" + std::to_string(ids[i]));
        const auto normal = text.rfind("listEntry normalAd", at);
        const auto eyecatcher = text.rfind("listEntry eyecatcherContainer", at);
        const bool markedFeatured =
            eyecatcher != std::string::npos && (normal == std::string::npos || eyecatcher > normal);
        EXPECT_EQ(markedFeatured, published[i].featured) << "position " << i;
    }
    // A page that is noise and markers: comments, TABs and line breaks must not matter.
    EXPECT_NE(answer->body.find("<!--"), std::string::npos);
    EXPECT_NE(answer->body.find('\t'), std::string::npos);

    const auto second = site.Client()->Get(std::string("/auto/search.html?") + kBaseQuery +
                                           "&makeModelVariant1.makeId=0&pageNumber=2");
    ASSERT_TRUE(second);
    EXPECT_EQ(ResultIds(second->body).size(), 5u);
    EXPECT_TRUE(
        ResultIds(site.Client()->Get("/motorrad/search.html?daysAfterCreation=1")->body).empty());
}

TEST(SearchPageTest, ListingsAppearAtTheRateAndTheSeedFixesTheSequence) {
    SimulatorOptions options;
    options.seed = 11;
    options.ratePerMinute = 2;
    options.backlog = 40;
    test::TestSite first(options);
    test::TestSite second(options);
    const auto start = first.clock.Now();

    const auto backlog = first.simulator->Listings();
    ASSERT_EQ(backlog.size(), 40u);
    const auto lastDay = std::count_if(backlog.begin(), backlog.end(), [&](const Listing& l) {
        return l.created >= start - 24h && l.created <= start;
    });
    EXPECT_GT(lastDay, 20);
    EXPECT_LT(lastDay, 40);  // some are older than a day and left off the search pages

    first.clock.Advance(10min);
    second.clock.Advance(10min);
    const auto listings = first.simulator->Listings();
    const auto fresh = listings.size() - backlog.size();
    // Gaps are half to one and a half times the mean of 30 s.
    EXPECT_GE(fresh, 13u);
    EXPECT_LE(fresh, 40u);
    for (std::size_t i = 1; i < listings.size(); ++i) {
        EXPECT_GE(listings[i - 1].created, listings[i].created);
    }
    EXPECT_LE(listings.front().created, first.clock.Now());

    const auto again = second.simulator->Listings();
    ASSERT_EQ(again.size(), listings.size());
    for (std::size_t i = 0; i < listings.size(); ++i) {
        EXPECT_EQ(again[i].id, listings[i].id);
        EXPECT_EQ(again[i].created, listings[i].created);
        EXPECT_EQ(again[i].headline, listings[i].headline);
    }

    // Without a rate nothing appears by itself, however long the clock runs.
    test::TestSite quiet;
    quiet.clock.Advance(48h);
    EXPECT_TRUE(quiet.simulator->Listings().empty());

    // A published listing is on its kind's search page at once.
    const Listing now = first.simulator->PublishNow();
    const auto ids =
        ResultIds(first.Client()
                      ->Get("/" +
                            std::string(now.kind == VehicleKind::Cars          ? "auto"
                                        : now.kind == VehicleKind::Motorcycles ? "motorrad"
                                                                               : "lkw") +
                            "/search.html?daysAfterCreation=1")
                      ->body);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.front(), now.id);
}

}  // namespace
}  // namespace marvolt::sim
