// The printable detail page read back by the scanner's own text core must give exactly the
// listing the stand-in made up, for a whole catalogue.
#include "simulator/detail_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scanner/car_info.h"
#include "scanner/conversion_error.h"
#include "scanner/debug_log.h"
#include "scanner/detail_extraction.h"
#include "scanner/page_text.h"
#include "simulator/catalogue.h"
#include "test_site.h"

namespace marvolt::sim {
namespace {

constexpr char kBase[] = "http://127.0.0.1:8080";

CarInfo Extract(const std::string& body) {
    CarInfo car;
    ResetCarInfo(car);
    EvaluatePage(NormalizePage(body), car, DebugLog([](std::string_view) {}));
    return car;
}

std::string ExpectedDealer(const Listing& listing) {
    std::string text;
    for (const auto& line : listing.seller.lines) {
        text += line + "\r\n";
    }
    // The fragment ends with the horizontal rule after the address paragraph.
    return text + "\r\n";
}

void ExpectRoundTrip(const Listing& listing, const CarInfo& car, const std::string& base) {
    SCOPED_TRACE("listing " + std::to_string(listing.id) + " " + listing.headline);
    EXPECT_EQ(car.CarDescription, listing.headline);
    EXPECT_EQ(car.Price, listing.price);
    EXPECT_EQ(car.Fuel, listing.fuel);
    EXPECT_EQ(car.Transmission, listing.transmission);
    EXPECT_EQ(car.FirstRegistration, listing.FirstRegistration());
    EXPECT_EQ(car.Mileage, listing.mileage);
    EXPECT_EQ(car.Description, listing.DescriptionText());
    EXPECT_EQ(car.Dealer, ExpectedDealer(listing));
    EXPECT_EQ(car.Features, listing.FeaturesText());
    EXPECT_EQ(car.ConstructionYear, listing.constructionYear);
    EXPECT_EQ(car.SellerCountry, listing.seller.country);
    EXPECT_EQ(car.EngineCapacity, listing.capacity);
    EXPECT_EQ(car.SellerType, listing.seller.type);
    EXPECT_EQ(car.Damaged, listing.damaged);
    EXPECT_EQ(car.PictureUrl, listing.hasPicture ? base + PicturePath(listing) : "");
    EXPECT_EQ(car.Power, listing.power);
    EXPECT_EQ(car.Climatisation, listing.climatisation);
    EXPECT_EQ(car.Doors, listing.doors);
}

TEST(DetailPageTest, ExtractionGivesBackEveryListingOfTheCatalogue) {
    for (const std::uint32_t seed : {1u, 2u, 77u}) {
        const Catalogue catalogue(seed);
        for (std::uint64_t index = 0; index < 300; ++index) {
            const Listing listing = catalogue.Generate(index);
            const std::string page = RenderPrintView(listing, {kBase, false});
            ExpectRoundTrip(listing, Extract(page), kBase);
            if (HasFailure()) {
                return;  // one broken listing says enough; do not flood the log
            }
        }
    }
}

// The catalogue must reach the cases that make the extraction work hardest, or the round trip
// above proves less than it seems.
TEST(DetailPageTest, CatalogueCoversTheHardCases) {
    const Catalogue catalogue(1);
    int noCapacity = 0, noDoors = 0, noClimatisation = 0, damaged = 0, noPicture = 0;
    int privateSellers = 0, styles[3] = {0, 0, 0}, ampersands = 0, nonAscii = 0;
    for (std::uint64_t index = 0; index < 300; ++index) {
        const Listing listing = catalogue.Generate(index);
        noCapacity += listing.capacity == 0;
        noDoors += listing.doors == 0;
        noClimatisation += listing.climatisation == 3;
        damaged += listing.damaged;
        noPicture += !listing.hasPicture;
        privateSellers += listing.seller.type == 2;
        ++styles[listing.entityStyle];
        const std::string texts = listing.FeaturesText() + listing.DescriptionText();
        ampersands += texts.find('&') != std::string::npos;
        for (unsigned char c : texts + listing.seller.lines.front()) {
            if (c >= 0x80) {
                ++nonAscii;
                break;
            }
        }
    }
    EXPECT_GT(noCapacity, 0);
    EXPECT_GT(noDoors, 0);
    EXPECT_GT(noClimatisation, 0);
    EXPECT_GT(damaged, 0);
    EXPECT_GT(noPicture, 0);
    EXPECT_GT(privateSellers, 0);
    EXPECT_GT(ampersands, 0);
    EXPECT_GT(nonAscii, 0);
    for (int count : styles) {
        EXPECT_GT(count, 0);
    }
}

// Over the wire: the page the server sends, with the picture address it builds from the host
// the client asked for.
TEST(DetailPageTest, ServedPagesRoundTripAndLinkTheirPicture) {
    SimulatorOptions options = test::TestSite::Quiet();
    options.backlog = 15;
    test::TestSite site(options);
    auto client = site.Client();
    int pictures = 0;
    for (const Listing& listing : site.simulator->Listings()) {
        const auto page =
            client->Get("/fahrzeuge/printView.html?lang=en&id=" + std::to_string(listing.id));
        ASSERT_TRUE(page);
        ASSERT_EQ(page->status, 200);
        EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=UTF-8");
        const CarInfo car = Extract(page->body);
        ExpectRoundTrip(listing, car, site.simulator->BaseUrl());
        if (!car.PictureUrl.empty()) {
            const auto path = car.PictureUrl.substr(site.simulator->BaseUrl().size());
            const auto picture = client->Get(path);
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->status, 200);
            EXPECT_EQ(picture->get_header_value("Content-Type"), "image/jpeg");
            EXPECT_EQ(picture->body.substr(0, 3), "\xFF\xD8\xFF");
            ++pictures;
        }
        const auto human =
            client->Get("/fahrzeuge/showDetails.html?id=" + std::to_string(listing.id));
        ASSERT_TRUE(human);
        EXPECT_EQ(human->status, 200);
        EXPECT_NE(human->body.find(listing.headline), std::string::npos);
    }
    EXPECT_GT(pictures, 0);

    for (const std::string path :
         {"/fahrzeuge/printView.html?lang=en&id=12345", "/fahrzeuge/printView.html?lang=en&id=abc",
          "/fahrzeuge/showDetails.html?id=", "/fahrzeuge/pictures/1_1.jpg"}) {
        const auto missing = client->Get(path);
        ASSERT_TRUE(missing) << path;
        EXPECT_EQ(missing->status, 404) << path;
    }
}

}  // namespace
}  // namespace marvolt::sim
