#include "scanner/detail_extraction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scanner/car_info.h"
#include "scanner/conversion_error.h"
#include "scanner/page_text.h"
#include "support/scanner_fixtures.h"

namespace marvolt {
namespace {

using test::ReadScannerFixture;
using test::WithCrLf;

CarInfo Extract(std::string_view pageText, std::vector<std::string>* log = nullptr) {
    CarInfo car;
    ResetCarInfo(car);
    EvaluatePage(pageText, car, DebugLog([log](std::string_view line) {
                     if (log != nullptr) {
                         log->emplace_back(line);
                     }
                 }));
    return car;
}

CarInfo ExtractBody(const std::string& body) {
    return Extract(NormalizePage(body));
}

TEST(DetailExtractionTest, DealerPage) {
    std::vector<std::string> log;
    const std::string page = NormalizePage(ReadScannerFixture("dealer_detail.html"));
    const CarInfo car = Extract(page, &log);
    EXPECT_EQ(car.CarDescription, "Volkswagen Golf 1.6 TDI Comfortline");
    EXPECT_FALSE(car.Damaged);
    EXPECT_EQ(car.PictureUrl, "http://127.0.0.1:8080/pictures/4711/1.jpg");
    EXPECT_EQ(car.Price, 12500);
    EXPECT_EQ(car.Mileage, 125000);
    EXPECT_EQ(car.EngineCapacity, 1598);
    EXPECT_EQ(car.Power, 77);
    EXPECT_EQ(car.ConstructionYear, 2011);
    EXPECT_EQ(car.Fuel, 2);
    EXPECT_EQ(car.Doors, 2);
    EXPECT_EQ(car.Transmission, 1);
    EXPECT_EQ(car.FirstRegistration, "03/2011");
    EXPECT_EQ(car.Climatisation, 2);
    EXPECT_EQ(car.Features,
              "ABS, Alloy wheels, Central locking, ESP, Navigation & radio, Parking sensors, "
              "Cruise control");
    EXPECT_EQ(car.Description,
              "Well maintained, full service history at VW. Non-smoker vehicle, 2 keys. Timing "
              "belt \"new\" at 120,000 km.");
    EXPECT_EQ(car.SellerType, 1);
    EXPECT_EQ(car.Dealer,
              "Autohaus Schr\xC3\xB6"
              "der GmbH\r\nHauptstra\xC3\x9F"
              "e 12\r\n10115 Berlin, "
              "Germany\r\nPhone: +49 30 1234567\r\nWebsite "
              "http://www.autohaus-schroeder.example\r\n\r\n");
    EXPECT_EQ(car.SellerCountry, "Germany");
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Evaluating page",
                       "Evaluate complete. [CarDescription:Volkswagen Golf 1.6 TDI Comfortline, "
                       "Price: 12500, Mileage: 125000]"}));
}

TEST(DetailExtractionTest, PrivateSellerPageWithoutOptionalEntries) {
    const CarInfo car = ExtractBody(ReadScannerFixture("private_detail.html"));
    EXPECT_EQ(car.CarDescription, "\xC5\xA0koda Octavia Combi 2.0 TDI \xC3\x89l\xC3\xA9gance");
    EXPECT_TRUE(car.Damaged);  // "Damaged Vehicle", any letter case
    EXPECT_EQ(car.PictureUrl, "");
    EXPECT_EQ(car.Price, 4990);
    EXPECT_EQ(car.Mileage, 212345);
    EXPECT_EQ(car.EngineCapacity, 0);
    EXPECT_EQ(car.Power, 103);
    EXPECT_EQ(car.ConstructionYear, 2008);
    EXPECT_EQ(car.Fuel, 1);
    EXPECT_EQ(car.Doors, 0);
    EXPECT_EQ(car.Transmission, 3);
    EXPECT_EQ(car.FirstRegistration, "11/2008");
    EXPECT_EQ(car.Climatisation, 3);  // no climatisation entry at all
    EXPECT_EQ(car.Features, "Roof rack, Tow bar, Winter tyres \xE2\x80\x93 on steel rims");
    EXPECT_EQ(car.Description, "Sold as seen. Please call after 18:00 & ask for Marek.");
    EXPECT_EQ(car.SellerType, 2);
    EXPECT_EQ(car.Dealer,
              "Marek Nowak\r\nul. D\xC5\x82uga 5, 80-831 Gda\xC5\x84sk, Poland\r\nMobile: +48 601 "
              "234 567\r\n\r\n");
    EXPECT_EQ(car.SellerCountry, "Poland");
}

TEST(DetailExtractionTest, LineEndingsOfTheBodyDoNotMatter) {
    for (const char* name : {"dealer_detail.html", "private_detail.html"}) {
        const std::string body = ReadScannerFixture(name);
        const CarInfo lf = ExtractBody(body);
        const CarInfo crlf = ExtractBody(WithCrLf(body));
        EXPECT_EQ(lf.Dealer, crlf.Dealer) << name;
        EXPECT_EQ(lf.Description, crlf.Description) << name;
        EXPECT_EQ(lf.Price, crlf.Price) << name;
    }
}

TEST(DetailExtractionTest, ResetClearsAllButIdsAndNextPageStartsClean) {
    CarInfo car;
    car.IdSchedule = 7;
    car.Id = 4711;
    ResetCarInfo(car);
    EvaluatePage(NormalizePage(ReadScannerFixture("dealer_detail.html")), car,
                 DebugLog([](auto) {}));
    car.Picture = "JPEG";
    ResetCarInfo(car);
    EXPECT_EQ(car.IdSchedule, 7);
    EXPECT_EQ(car.Id, 4711);
    EXPECT_EQ(car.CarDescription, "");
    EXPECT_EQ(car.Picture, "");
    EXPECT_EQ(car.PictureUrl, "");
    EXPECT_EQ(car.Dealer, "");
    EXPECT_EQ(car.Features, "");
    EXPECT_EQ(car.SellerCountry, "");
    EXPECT_EQ(car.EngineCapacity, 0);
    EXPECT_EQ(car.Climatisation, 0);
    EXPECT_EQ(car.SellerType, 0);
    // The second listing has no capacity entry: nothing of the first one's is left.
    EvaluatePage(NormalizePage(ReadScannerFixture("private_detail.html")), car,
                 DebugLog([](auto) {}));
    EXPECT_EQ(car.EngineCapacity, 0);
    EXPECT_EQ(car.Doors, 0);
    EXPECT_EQ(car.PictureUrl, "");
    EXPECT_EQ(car.IdSchedule, 7);
    EXPECT_EQ(car.Id, 4711);
}

// A page of one step's marker and value, after a headline.
std::string Page(const std::string& body) {
    return "<h1 class=\"makeModelDescription\">Car</h1>" + body;
}

TEST(DetailExtractionTest, LabelCodes) {
    const struct {
        std::string body;
        std::uint8_t CarInfo::*field;
        int expected;
    } cases[] = {
        {"Fuel Type:</td><td><strong>Diesel</strong>", &CarInfo::Fuel, 2},
        {"Fuel Type:</td><td><strong>Super Petrol 95</strong>", &CarInfo::Fuel, 1},
        {"Fuel Type:</td><td><strong>LPG</strong>", &CarInfo::Fuel, 3},
        {"Fuel Type:</td><td><strong>Electric</strong>", &CarInfo::Fuel, 0},
        {"Door Count:</td><td><strong></strong><strong>2/3</strong>", &CarInfo::Doors, 1},
        {"Door Count:</td><td><strong></strong><strong>6/7</strong>", &CarInfo::Doors, 3},
        {"Gearbox:<strong></strong><strong>Automatic transmission</strong>", &CarInfo::Transmission,
         2},
        {"Gearbox:<strong></strong><strong>MANUAL GEARBOX</strong>", &CarInfo::Transmission, 1},
        // The automatic test comes first.
        {"Gearbox:<strong></strong><strong>Semi-automatic transmission</strong>",
         &CarInfo::Transmission, 2},
        {"Climatisation:</td><td><strong>Automatic air conditioning</strong>",
         &CarInfo::Climatisation, 2},
        {"Climatisation:</td><td><strong>A/C (manual)</strong>", &CarInfo::Climatisation, 1},
        {"Climatisation:</td><td><strong>Fan only</strong>", &CarInfo::Climatisation, 0},
        {"<p>No entry</p>", &CarInfo::Climatisation, 3},
    };
    for (const auto& c : cases) {
        const CarInfo car = Extract(Page(c.body));
        EXPECT_EQ(car.*c.field, c.expected) << c.body;
    }
}

TEST(DetailExtractionTest, Numbers) {
    const struct {
        std::string body;
        std::int32_t CarInfo::*field;
        std::int32_t expected;
    } cases[] = {
        {"<td id=\"mileage\">125,000 km</td>", &CarInfo::Mileage, 125000},
        {"<td id=\"mileage\"> 0 km</td>", &CarInfo::Mileage, 0},
        {"<strong id=\"price_gross\">EUR 2,147,483,647</strong>", &CarInfo::Price, 2147483647},
        {"<strong id=\"price_gross\">EUR 000,990</strong>", &CarInfo::Price, 990},
        // The four characters after the marker are not read.
        {"<strong id=\"price_gross\">12,500 EUR</strong>", &CarInfo::Price, 0},
        {"Cubic Capacity:</td><td><strong>1,998 ccm</strong>", &CarInfo::EngineCapacity, 1998},
        {"Power:</td><td><strong>110 kW (150 hp)</strong>", &CarInfo::Power, 110},
        {"<td id=\"constructionYear\">2015</td>", &CarInfo::ConstructionYear, 2015},
    };
    for (const auto& c : cases) {
        const CarInfo car = Extract(Page(c.body));
        EXPECT_EQ(car.*c.field, c.expected) << c.body;
    }
}

TEST(DetailExtractionTest, NumberThatDoesNotConvertStopsTheExtraction) {
    const struct {
        std::string body;
        const char* field;
    } cases[] = {
        {"<strong id=\"price_gross\">EUR 12.500</strong>", "Price"},
        {"<strong id=\"price_gross\">EUR on request</strong>", "Price"},
        {"<strong id=\"price_gross\">EUR 2,147,483,648</strong>", "Price"},
        {"<strong id=\"price_gross\">EUR 99999999999999999999</strong>", "Price"},
        {"<td id=\"mileage\">n/a</td>", "Mileage"},
        {"Cubic Capacity:</td><td><strong>cm</strong>", "EngineCapacity"},
        {"Power:</td><td><strong>110 PS</strong>", "Power"},  // no "kW": nothing before it
        {"<td id=\"constructionYear\">2.015</td>", "ConstructionYear"},
    };
    for (const auto& c : cases) {
        CarInfo car;
        ResetCarInfo(car);
        try {
            EvaluatePage(Page("<img name=\"pic_01\" src=\"p.jpg\">" + c.body), car,
                         DebugLog([](auto) {}));
            ADD_FAILURE() << "no error for " << c.body;
        } catch (const ConversionError& error) {
            EXPECT_NE(std::string(error.what()).find(c.field), std::string::npos) << error.what();
        }
        // What was read before the bad number stays.
        EXPECT_EQ(car.CarDescription, "Car") << c.body;
        EXPECT_EQ(car.PictureUrl, "p.jpg") << c.body;
    }
}

TEST(DetailExtractionTest, ErrorQuotesTheText) {
    try {
        Extract(Page("<strong id=\"price_gross\">EUR 12.500</strong>"));
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "Price: \"12.500\" is not a valid integer value");
    }
}

TEST(DetailExtractionTest, SellerBlocks) {
    const struct {
        std::string body;
        int sellerType;
        std::string dealer;
        std::string country;
    } cases[] = {
        {"<p><strong>Dealer</strong><br/>Cars Ltd<br/>Berlin, Germany</p><div>", 1,
         "Cars Ltd\r\nBerlin, Germany\r\n\r\n", "Germany"},
        // Countries are tried in a fixed order, not by where they stand.
        {"<p><strong>Dealer</strong><br/>Near Poland, Germany</p>", 1, "Near Poland, Germany",
         "Germany"},
        {"<p><strong>Dealer</strong>Brussels, Belgium</p>", 1, "Brussels, Belgium", "Belgium"},
        {"<p><strong>Dealer</strong>Tallinn, ESTONIA</p>", 1, "Tallinn, ESTONIA", ""},
        {"<p><strong>Private Seller</strong><br/>Anna, Lyon, France</p>", 2, "Anna, Lyon, France",
         "France"},
        // A dealer block after a private-seller block wins.
        {"<p><strong>Private Seller</strong>Anna, Italy</p><p><strong>Dealer</strong>Bo, "
         "Netherlands</p>",
         1, "Bo, Netherlands", "Netherlands"},
        {"<p><strong>Dealer</strong>Caf&eacute; &amp; Cars &lt;b&gt;Top&lt;/b&gt;</p>", 1,
         "Caf\xC3\xA9 & Cars Top", ""},
        // Without "</p>" only seven characters are taken.
        {"<strong>Dealer</strong>Autohaus Anywhere, Italy", 1, "Autohau", ""},
        // Seller markers are exact-case.
        {"<strong>DEALER</strong>Shop, Italy</p>", 0, "", ""},
    };
    for (const auto& c : cases) {
        const CarInfo car = Extract(Page(c.body));
        EXPECT_EQ(car.SellerType, c.sellerType) << c.body;
        EXPECT_EQ(car.Dealer, c.dealer) << c.body;
        EXPECT_EQ(car.SellerCountry, c.country) << c.body;
    }
}

TEST(DetailExtractionTest, TextsAreDecodedAndTrimmed) {
    const CarInfo car = Extract(
        Page("<strong>Features</strong> <br/> Leather &amp; wood, &quot;Sport&quot;&nbsp;</p>"
             "<strong>Vehicle Description</strong><br/>  \t&lt;3 owners &#8364; &euro;&AMP; </p>"));
    EXPECT_EQ(car.Features, "Leather & wood, \"Sport\"\xC2\xA0");
    EXPECT_EQ(car.Description, "<3 owners \xE2\x82\xAC \xE2\x82\xAC&AMP;");
}

TEST(DetailExtractionTest, StepsOnlySeeTextAfterEarlierCuts) {
    // The doors step passes two "<strong>" tags and so cuts past the gearbox marker.
    CarInfo car =
        Extract(Page("Gearbox:<strong></strong><strong>Manual gearbox</strong>"
                     "Door Count:<strong></strong><strong>4/5</strong>"));
    EXPECT_EQ(car.Doors, 2);
    EXPECT_EQ(car.Transmission, 0);

    // The damaged test is made after the cut to the headline.
    car = Extract("<title>Damaged vehicle</title><h1 class=\"makeModelDescription\">Car</h1>");
    EXPECT_FALSE(car.Damaged);
    car = Extract(Page("<p>sold as DAMAGED VEHICLE</p>"));
    EXPECT_TRUE(car.Damaged);
}

TEST(DetailExtractionTest, MissingMarkersAndMissingSecondMarkers) {
    // No headline marker: the first 21 characters go and the text up to "<" is taken.
    CarInfo car = Extract("0123456789abcdefghij_Headline text <b>x</b>");
    EXPECT_EQ(car.CarDescription, "Headline text");
    car = Extract("short");
    EXPECT_EQ(car.CarDescription, "");

    // A cut whose marker is missing drops only its count of characters: here the capacity
    // step finds no "<strong>" and reads from seven characters on.
    car = Extract(Page("Cubic Capacity:<b>1234567890 cm</b>"));
    EXPECT_EQ(car.EngineCapacity, 567890);

    // The presence test ignores letter case, the cut does not: without the exact marker the
    // cut drops from the start of what is left.
    car = Extract(Page("<i>FUEL TYPE:</i><strong>Petrol</strong>"));
    EXPECT_EQ(car.Fuel, 1);

    // Features and description markers are exact-case.
    car = Extract(Page("<strong>features</strong> <br/>ABS</p>vehicle description<br/>  x<"));
    EXPECT_EQ(car.Features, "");
    EXPECT_EQ(car.Description, "");

    car = Extract("");
    EXPECT_EQ(car.Climatisation, 3);
    EXPECT_EQ(car.Price, 0);
}

// Characters, not bytes, are counted in every cut: a page with multi-byte characters gives the
// fields it would give if each character were one byte.
TEST(DetailExtractionTest, CutsCountCharacters) {
    CarInfo car = Extract(Page("<strong id=\"price_gross\">\xE2\x82\xAC 12,500</strong>"));
    EXPECT_EQ(car.Price, 500);  // the four skipped characters are "\u20AC 12"
    car = Extract(
        "\xC3\x9C\xC3\xB1\xC3\xAF\xC3\xA7\xC3\xB6\xC3\xB0\xC3\xA9 "
        "abcdefghijkl\xF0\x9F\x9A\x97"
        "Headline<");
    EXPECT_EQ(car.CarDescription, "Headline");
    car = Extract(Page("Cubic Capacity:<strong>1,600 \xE3\x8E\xA4\xE2\x82\xAC</strong>"));
    EXPECT_EQ(car.EngineCapacity, 1600);
    car = Extract(Page("<p><strong>Dealer</strong>A, Italy</p>\xC3\xA4\xC3\xB6\xC3\xBCx<i>b</i>"));
    EXPECT_EQ(car.Dealer, "A, Italy\xC3\xA4\xC3\xB6\xC3\xBCx");
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

// Every field of a vehicle, or the error that ended its extraction, as text.
std::vector<std::string> Outcome(std::string_view page, const std::string& multiByte) {
    std::vector<std::string> fields;
    CarInfo car;
    ResetCarInfo(car);
    try {
        EvaluatePage(page, car, DebugLog([](auto) {}));
    } catch (const ConversionError& error) {
        fields.push_back(multiByte.empty() ? error.what()
                                           : ReplaceAll(error.what(), multiByte, "q"));
    }
    for (const std::string* text :
         {&car.CarDescription, &car.FirstRegistration, &car.Description, &car.Features,
          &car.PictureUrl, &car.Dealer, &car.SellerCountry}) {
        fields.push_back(multiByte.empty() ? *text : ReplaceAll(*text, multiByte, "q"));
    }
    for (const int number : {car.Price, car.Mileage, car.ConstructionYear, car.EngineCapacity,
                             car.Power, int{car.Fuel}, int{car.Transmission}, int{car.SellerType},
                             int{car.Climatisation}, int{car.Doors}, int{car.Damaged}}) {
        fields.push_back(std::to_string(number));
    }
    return fields;
}

// Inserts a multi-byte character at every position of a real page and compares with the same
// page holding a one-byte letter there instead. Inside mark-up of the seller block the HTML
// parser may treat the two letters differently, so there only the other fields are compared.
TEST(DetailExtractionTest, MultiByteCharacterAnywhereCountsAsOne) {
    const std::string page = NormalizePage(ReadScannerFixture("dealer_detail.html"));
    ASSERT_FALSE(page.empty());
    const std::size_t sellerStart = page.find("<strong>Dealer</strong>");
    const std::string multiBytes[] = {"\xC3\xBC", "\xE2\x82\xAC", "\xF0\x9F\x9A\x97"};
    bool inTag = false;
    for (std::size_t at = 0; at <= page.size(); ++at) {
        const std::string& multiByte = multiBytes[at % 3];
        std::string wide = page;
        wide.insert(at, multiByte);
        std::string narrow = page;
        narrow.insert(at, "q");
        std::vector<std::string> expected = Outcome(narrow, "");
        std::vector<std::string> actual = Outcome(wide, multiByte);
        if (inTag && at > sellerStart) {
            for (auto* fields : {&expected, &actual}) {
                fields->erase(fields->end() - 13, fields->end() - 11);  // Dealer, SellerCountry
            }
        }
        ASSERT_EQ(actual, expected)
            << "inserted at " << at << ": " << page.substr(at < 20 ? 0 : at - 20, 40);
        if (at < page.size()) {
            inTag = page[at] == '<' ? true : page[at] == '>' ? false : inTag;
        }
    }
}

}  // namespace
}  // namespace marvolt
