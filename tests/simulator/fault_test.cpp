// Faults on demand: each kind once over the wire, the two ways of asking for them, and the
// command line's spelling of them.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "scanner/car_info.h"
#include "scanner/conversion_error.h"
#include "scanner/debug_log.h"
#include "scanner/detail_extraction.h"
#include "scanner/page_text.h"
#include "simulator/md5_hex.h"
#include "test_site.h"

namespace marvolt::sim {
namespace {

using namespace std::chrono_literals;

class FaultTest : public ::testing::Test {
  protected:
    FaultTest() : site_(Options()) {
        listing_ = site_.simulator->PublishNow();
        // A listing with a picture, whatever the catalogue's first one is.
        Listing pictured = listing_;
        pictured.id = 0;
        pictured.hasPicture = true;
        listing_ = site_.simulator->Publish(pictured);
    }

    static SimulatorOptions Options() {
        SimulatorOptions options = test::TestSite::Quiet();
        options.faultDelay = 400ms;
        options.trickleBytes = 256;
        options.trickleInterval = 5ms;
        return options;
    }

    std::string DetailPath() const {
        return "/fahrzeuge/printView.html?lang=en&id=" + std::to_string(listing_.id);
    }
    std::string PicturePath() const {
        return "/fahrzeuge/pictures/" + std::to_string(listing_.id) + "_1.jpg";
    }
    static std::string SearchPath() { return "/auto/search.html?daysAfterCreation=1"; }
    static std::string GatewayPath() {
        return "/user.do?username=demo&password=" + Md5Hex("demo") + "&credits=1&details=1";
    }

    httplib::Result Get(const std::string& path) { return site_.Client()->Get(path); }

    test::TestSite site_;
    Listing listing_;
};

TEST_F(FaultTest, DropEndsTheConnectionWithoutAnAnswer) {
    site_.simulator->SetFault(RequestKind::Search, Fault::Drop, {0.0, 1});
    const auto dropped = Get(SearchPath());
    EXPECT_FALSE(dropped);
    EXPECT_EQ(dropped.error(), httplib::Error::Read);
    // Only the next request was asked for.
    const auto next = Get(SearchPath());
    ASSERT_TRUE(next);
    EXPECT_EQ(next->status, 200);
}

TEST_F(FaultTest, StatusFaultsAnswerWithTheirStatus) {
    const struct {
        RequestKind kind;
        Fault fault;
        std::string path;
        int status;
    } cases[] = {
        {RequestKind::Search, Fault::Status500, SearchPath(), 500},
        {RequestKind::Detail, Fault::Status503, DetailPath(), 503},
        {RequestKind::Gateway, Fault::Status500, GatewayPath(), 500},
        {RequestKind::Picture, Fault::MissingPicture, PicturePath(), 404},
        {RequestKind::Picture, Fault::Status503, PicturePath(), 503},
    };
    for (const auto& c : cases) {
        site_.simulator->SetFault(c.kind, c.fault, {0.0, 1});
        const auto answer = Get(c.path);
        ASSERT_TRUE(answer) << c.path;
        EXPECT_EQ(answer->status, c.status) << c.path;
        const auto healthy = Get(c.path);
        ASSERT_TRUE(healthy) << c.path;
        EXPECT_EQ(healthy->status, 200) << c.path;
    }
}

TEST_F(FaultTest, DelayOutlastsTheClientsReadTimeOut) {
    site_.simulator->SetFault(RequestKind::Detail, Fault::Delay, {0.0, 1});
    auto client = site_.Client();
    client->set_read_timeout(0, 100'000);
    const auto late = client->Get(DetailPath());
    EXPECT_FALSE(late);
    EXPECT_EQ(late.error(), httplib::Error::Read);
    // A patient client gets the page once the delay is over.
    site_.simulator->SetFault(RequestKind::Detail, Fault::Delay, {0.0, 1});
    const auto patient = site_.Client()->Get(DetailPath());
    ASSERT_TRUE(patient);
    EXPECT_EQ(patient->status, 200);
}

TEST_F(FaultTest, BadUtf8BodyNormalisesToNothing) {
    const auto healthy = Get(DetailPath());
    ASSERT_TRUE(healthy);
    EXPECT_FALSE(NormalizePage(healthy->body).empty());

    site_.simulator->SetFault(RequestKind::Detail, Fault::BadUtf8, {0.0, 1});
    const auto broken = Get(DetailPath());
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->status, 200);
    EXPECT_GT(broken->body.size(), 1000u);
    EXPECT_TRUE(NormalizePage(broken->body).empty());

    site_.simulator->SetFault(RequestKind::Search, Fault::BadUtf8, {0.0, 1});
    const auto search = Get(SearchPath());
    ASSERT_TRUE(search);
    EXPECT_TRUE(NormalizePage(search->body).empty());
}

TEST_F(FaultTest, PriceWithDotFailsTheConversion) {
    site_.simulator->SetFault(RequestKind::Detail, Fault::PriceWithDot, {0.0, 1});
    const auto page = Get(DetailPath());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    CarInfo car;
    ResetCarInfo(car);
    EXPECT_THROW(EvaluatePage(NormalizePage(page->body), car, DebugLog([](std::string_view) {})),
                 ConversionError);
    EXPECT_EQ(car.CarDescription, listing_.headline);  // read before the price
}

TEST_F(FaultTest, TrickleDeliversTheSameBodyInPieces) {
    const auto whole = Get(DetailPath());
    ASSERT_TRUE(whole);
    const std::size_t pieces = (whole->body.size() + 255) / 256;
    ASSERT_GE(pieces, 4u);

    site_.simulator->SetFault(RequestKind::Detail, Fault::Trickle, {0.0, 1});
    std::string body;
    const auto started = std::chrono::steady_clock::now();
    const auto trickled =
        site_.Client()->Get(DetailPath(), [&](const char* data, std::size_t size) {
            body.append(data, size);
            return true;
        });
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(trickled);
    EXPECT_EQ(trickled->status, 200);
    EXPECT_EQ(body, whole->body);
    // The server waits between pieces, so the whole takes at least that long.
    EXPECT_GE(took, 5ms * static_cast<int>(pieces - 1));
}

TEST_F(FaultTest, ProbabilitiesAreDrawnFromTheSeed) {
    auto pattern = [](std::uint32_t seed) {
        SimulatorOptions options = test::TestSite::Quiet();
        options.seed = seed;
        test::TestSite site(options);
        site.simulator->SetFault(RequestKind::Gateway, Fault::Status503, {0.5, 0});
        std::string outcome;
        for (int i = 0; i < 24; ++i) {
            const auto answer = site.Client()->Get("/user.do?username=demo");
            outcome += answer && answer->status == 503 ? 'F' : '.';
        }
        return outcome;
    };
    const std::string first = pattern(4);
    EXPECT_EQ(pattern(4), first);
    EXPECT_NE(first.find('F'), std::string::npos);
    EXPECT_NE(first.find('.'), std::string::npos);
    EXPECT_NE(pattern(5), first);
}

TEST_F(FaultTest, CountedFaultsComeFirstThenStop) {
    site_.simulator->SetFault(RequestKind::Search, Fault::Status500, {0.0, 3});
    std::vector<int> statuses;
    for (int i = 0; i < 5; ++i) {
        const auto answer = Get(SearchPath());
        statuses.push_back(answer ? answer->status : -1);
    }
    EXPECT_EQ(statuses, (std::vector<int>{500, 500, 500, 200, 200}));

    site_.simulator->SetFault(RequestKind::Search, Fault::Status500, {1.0, 0});
    site_.simulator->ClearFaults();
    EXPECT_EQ(Get(SearchPath())->status, 200);
    EXPECT_THROW(site_.simulator->SetFault(RequestKind::Search, Fault::MissingPicture, {1.0, 0}),
                 std::invalid_argument);
}

TEST(FaultOptionTest, ParsesTheCommandLineSpelling) {
    const auto counted = ParseFaultOption("detail:500:next=3");
    ASSERT_TRUE(counted.kind);
    EXPECT_EQ(*counted.kind, RequestKind::Detail);
    EXPECT_EQ(counted.fault, Fault::Status500);
    EXPECT_EQ(counted.rule.next, 3);
    EXPECT_EQ(counted.rule.probability, 0.0);

    const auto likely = ParseFaultOption("all:trickle:p=0.25");
    EXPECT_FALSE(likely.kind);
    EXPECT_EQ(likely.fault, Fault::Trickle);
    EXPECT_DOUBLE_EQ(likely.rule.probability, 0.25);

    EXPECT_EQ(ParseFaultOption("picture:no-picture:next=1").fault, Fault::MissingPicture);
    EXPECT_EQ(ParseFaultOption("gateway:bad-utf8:p=1").fault, Fault::BadUtf8);

    for (const char* bad :
         {"", "detail", "detail:500", "detail:500:", "detail:500:p=2", "detail:500:p=-0.1",
          "detail:500:next=x", "detail:500:sometimes", "page:500:next=1", "detail:404:next=1",
          "search:price-dot:next=1", "detail:no-picture:p=1"}) {
        EXPECT_THROW(ParseFaultOption(bad), std::invalid_argument) << bad;
    }
}

}  // namespace
}  // namespace marvolt::sim
