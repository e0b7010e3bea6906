#include "scanner/check_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "scanner_harness.h"

namespace marvolt::test {
namespace {

using namespace std::chrono_literals;
using sim::Fault;
using sim::FaultRule;
using sim::RequestKind;

TEST(CheckThread, FirstPassLearnsThePageAndLaterPassesReportNewListingsNewestFirst) {
    ScannerHarness harness;
    const sim::Listing car = harness.SomeCar();
    harness.MakeScanner().Start();

    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));
    EXPECT_TRUE(harness.Found().empty()) << "the first pass reports nothing";
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_TRUE(harness.Found().empty()) << "a page seen before has nothing new";

    const auto a = harness.Publish(car);
    const auto b = harness.Publish(car);
    const auto c = harness.Publish(car);
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_EQ(harness.FoundIds(), (std::vector<std::int32_t>{c.id, b.id, a.id}));
    // Each found vehicle carries its task, its listing id and what its page said.
    for (const auto& found : harness.Found()) {
        EXPECT_EQ(found.IdSchedule, 5);
        EXPECT_EQ(found.CarDescription, car.headline);
        EXPECT_EQ(found.Price, car.price);
        EXPECT_EQ(found.Picture.empty(), !car.hasPicture);
    }

    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_EQ(harness.Found().size(), 3u) << "reported once only";
    const std::string opening = "Opening " + harness.Scanner().Search().Url();
    EXPECT_TRUE(harness.Gate().Logged(opening));
    EXPECT_TRUE(harness.Gate().Logged("Thread TCheckThread started"));
}

TEST(CheckThread, EyeCatcherBeforeTheFirstNormalEntryIsWalkedFirst) {
    ScannerHarness harness;
    const sim::Listing car = harness.SomeCar();
    harness.MakeScanner().Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));

    const auto normal = harness.Publish(car);
    const auto featured = harness.Publish(car, 0, true);
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_EQ(harness.FoundIds(), (std::vector<std::int32_t>{featured.id, normal.id}));
}

TEST(CheckThread, KnownNewestEntryHidesOlderNewOnes) {
    ScannerHarness harness;
    const sim::Listing car = harness.SomeCar();
    CheckThread& scanner = harness.MakeScanner();
    scanner.AddKnownId(990001);  // as if stored by an earlier run
    scanner.Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));

    harness.Publish(car);
    harness.Publish(car, 990001);
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_TRUE(harness.Found().empty());
}

TEST(CheckThread, FailedListingEndsTheWalkAndItsSuccessorsAreNeverReported) {
    ScannerHarness harness;
    sim::Listing car = harness.SomeCar();
    harness.MakeScanner().Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));

    car.hasPicture = true;
    const auto oldest = harness.Publish(car);
    const auto second = harness.Publish(car);
    sim::Listing withoutPicture = car;
    withoutPicture.hasPicture = false;
    const auto newest = harness.Publish(withoutPicture);
    // The newest has no picture, so the first picture request is the second listing's.
    harness.Site().SetFault(RequestKind::Picture, Fault::MissingPicture, FaultRule{.next = 1});
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_EQ(harness.FoundIds(), std::vector<std::int32_t>{newest.id});
    EXPECT_TRUE(harness.Found().front().Picture.empty());
    EXPECT_TRUE(harness.Gate().Logged("404"));

    ASSERT_TRUE(harness.RunOnePass());
    const auto later = harness.Publish(car);
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_EQ(harness.FoundIds(), (std::vector<std::int32_t>{newest.id, later.id}))
        << "listings " << second.id << " and " << oldest.id << " must stay unreported";
}

TEST(CheckThread, DetailPageThatCannotBeConvertedHandsNothingOver) {
    ScannerHarness harness;
    const sim::Listing car = harness.SomeCar();
    harness.MakeScanner().Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));

    harness.Publish(car);
    harness.Site().SetFault(RequestKind::Detail, Fault::PriceWithDot, FaultRule{.next = 1});
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_TRUE(harness.Found().empty());
    EXPECT_TRUE(harness.Gate().Logged("is not a valid integer value"));
}

// Each kind of failed search request is logged, and the scanner goes on with the next pass.
TEST(CheckThread, FailedSearchRequestsAreLoggedAndLaterPassesWork) {
    const struct {
        Fault fault;
        const char* logged;
    } cases[] = {
        {Fault::Status500, "500"},
        {Fault::Status503, "503"},
        {Fault::Drop, "GET "},
        {Fault::Delay, "GET "},  // past the 10-second read time-out
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(sim::FaultName(c.fault)));
        ScannerHarness harness;
        const sim::Listing car = harness.SomeCar();
        harness.MakeScanner().Start();
        ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));

        // Every request while the fault lasts: libcurl itself retries a reused connection
        // that dies without an answer.
        harness.Site().SetFault(RequestKind::Search, c.fault, FaultRule{.probability = 1});
        const auto published = harness.Publish(car);
        ASSERT_TRUE(harness.RunOnePass());  // fails
        EXPECT_TRUE(harness.Found().empty());
        EXPECT_TRUE(harness.Gate().Logged(c.logged));
        harness.Site().ClearFaults();
        ASSERT_TRUE(harness.RunOnePass());  // a new client, the same search
        EXPECT_EQ(harness.FoundIds(), std::vector<std::int32_t>{published.id});
    }
}

TEST(CheckThread, UnreachableSiteIsRetriedUntilItAnswers) {
    int port = 0;
    {
        ScannerHarness probe;  // finds a free port, then leaves it closed
        port = probe.Site().Port();
    }
    ScannerHarness harness(port, false);
    const sim::Listing car = harness.SomeCar();
    harness.MakeScanner("http://127.0.0.1:" + std::to_string(port)).Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Logged("GET "); }));
    EXPECT_FALSE(harness.Gate().Waiting()) << "a failed first pass is repeated, not skipped";

    harness.Site().Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));
    const auto published = harness.Publish(car);
    ASSERT_TRUE(harness.RunOnePass());
    EXPECT_EQ(harness.FoundIds(), std::vector<std::int32_t>{published.id});
}

TEST(CheckThread, StopDuringAPauseEndsTheScannerPromptly) {
    ScannerHarness harness;
    harness.Gate().Open();
    // Production pacing: after the first pass the scanner pauses at least three seconds.
    CheckThread& scanner = harness.MakeScanner(harness.BaseUrl(), Pacing());
    scanner.Start();
    std::this_thread::sleep_for(300ms);  // the first pass is done; the first pause goes on
    const auto asked = std::chrono::steady_clock::now();
    scanner.RequestStop();
    ASSERT_TRUE(harness.PumpUntil([&] { return scanner.Finished(); }, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
    EXPECT_TRUE(harness.Gate().Logged("Thread TCheckThread stopped"));
}

TEST(CheckThread, StopDuringAnEntryWalkLetsTheWalkFinish) {
    ScannerHarness harness;
    const sim::Listing car = harness.SomeCar();
    CheckThread& scanner = harness.MakeScanner();
    scanner.Start();
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.Gate().Waiting(); }));
    for (int i = 0; i < 3; ++i) {
        harness.Publish(car);
    }
    harness.Gate().Release();
    ASSERT_TRUE(harness.PumpUntil([&] { return !harness.Found().empty(); }));
    scanner.RequestStop();
    ASSERT_TRUE(harness.PumpUntil([&] { return scanner.Finished(); }));
    EXPECT_EQ(harness.Found().size(), 3u);
}

}  // namespace
}  // namespace marvolt::test
