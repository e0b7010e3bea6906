#include "scanner/entry_walk.h"

#include <gtest/gtest.h>

#include <string>

namespace marvolt {
namespace {

std::string Entry(const std::string& marker, const std::string& id) {
    return "<div class=\"" + marker +
           "\"><input type=\"checkbox\" name=\"parkAndCompare\" value=\"" + id + "\"/></div>";
}
std::string Normal(const std::string& id) {
    return Entry("listEntry normalAd", id);
}
std::string Eyecatcher(const std::string& id) {
    return Entry("listEntry eyecatcherContainer", id);
}

TEST(ScanNewIds, WalksFromTheNewestEntryUpToTheFirstKnownId) {
    const struct {
        const char* name;
        std::string page;
        KnownIds known;
        std::vector<std::int32_t> expected;
        bool error;
    } cases[] = {
        {"two new, then a known one",
         Normal("30") + Normal("20") + Normal("10"),
         {10},
         {30, 20},
         false},
        {"the newest is known", Normal("30") + Normal("20") + Normal("10"), {30}, {}, false},
        {"nothing known", Normal("3") + Normal("2"), {}, {3, 2}, false},
        {"no entry marker", "<html><body>No results</body></html>", {}, {}, false},
        {"eye-catcher first", Eyecatcher("7") + Normal("6") + Normal("5"), {5}, {7, 6}, false},
        {"eye-catcher between normal entries",
         Normal("9") + Eyecatcher("8") + Normal("7"),
         {},
         {9, 8, 7},
         false},
        {"an id met twice ends the walk",
         Eyecatcher("4") + Normal("3") + Normal("4") + Normal("2"),
         {},
         {4, 3},
         false},
        {"an id that is no number ends the walk after the ones before",
         Normal("5") + Normal("x5") + Normal("4"),
         {},
         {5},
         true},
        {"an empty id is no number", Normal(""), {}, {}, true},
        {"an id beyond 32 bits is no number", Normal("2147483648"), {}, {}, true},
        {"the largest id", Normal("2147483647"), {}, {2147483647}, false},
        {"an id marker without an entry marker is not an entry",
         "<input name=\"parkAndCompare\" value=\"1\"/>" + Normal("2"),
         {},
         {2},
         false},
    };
    for (const auto& c : cases) {
        const IdScan scan = ScanNewIds(c.page, c.known);
        EXPECT_EQ(scan.ids, c.expected) << c.name;
        EXPECT_EQ(!scan.error.empty(), c.error) << c.name << ": " << scan.error;
    }
}

TEST(ScanNewIds, CountsCharactersNotBytesWhenSkipping) {
    // Without an id marker the walk drops the entry marker and one more character, then 28
    // characters, and reads the id from there: multi-byte characters must count as one.
    std::string page = "listEntry normalAd\u00e9";
    for (int i = 0; i < 28; ++i) {
        page += "\u00fc";
    }
    page += "77\"";
    const IdScan scan = ScanNewIds(page, {});
    EXPECT_EQ(scan.ids, std::vector<std::int32_t>{77});
    EXPECT_TRUE(scan.error.empty()) << scan.error;
}

TEST(ScanAllIds, TakesEveryIdOnThePageWhateverItsEntry) {
    const std::string page = "<input name=\"parkAndCompare\" value=\"11\"/>" + Normal("12") +
                             Eyecatcher("13") + Normal("12");
    const IdScan scan = ScanAllIds(page);
    EXPECT_EQ(scan.ids, (std::vector<std::int32_t>{11, 12, 13, 12}));
    EXPECT_TRUE(scan.error.empty());

    const IdScan broken = ScanAllIds(Normal("1") + Normal("one") + Normal("3"));
    EXPECT_EQ(broken.ids, std::vector<std::int32_t>{1});
    EXPECT_NE(broken.error.find("'one' is not a valid integer value"), std::string::npos)
        << broken.error;
}

}  // namespace
}  // namespace marvolt
