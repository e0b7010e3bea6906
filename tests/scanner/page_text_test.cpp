#include "scanner/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace marvolt {
namespace {

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class NormalizePageTest : public testing::TestWithParam<TextCase> {};

TEST_P(NormalizePageTest, GivesPageText) {
    EXPECT_EQ(NormalizePage(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizePageTest,
    testing::Values(TextCase{"LineBreaksAndTabsGo", "a\r\nb\nc\td", "abcd"},
                    TextCase{"LoneCrStays", "a\rb", "a\rb"},
                    TextCase{"CrBeforeCrLfStays", "a\r\r\nb", "a\rb"},
                    TextCase{"LfBeforeCrLfGoes", "a\n\r\nb", "ab"},
                    TextCase{"CrLfSplitByTabKeepsCr", "a\r\t\nb", "a\rb"},
                    TextCase{"DoctypeGoes", "<!DOCTYPE html><html>", "<html>"},
                    TextCase{"AdjacentCommentsGo", "x<!--a--><!--b-->y", "xy"},
                    // Line breaks go first, so "<" and "!" on two lines still open a construct.
                    TextCase{"ConstructJoinedByLineBreakRemoval", "<\r\n!-- c -->z", "z"},
                    TextCase{"CommentEndsAtFirstGreaterThan", "<!-- a > b -->", " b -->"},
                    TextCase{"UnclosedConstructRunsToEnd", "keep<!-- no end", "keep"},
                    TextCase{"Utf8Decoded", "Gr\xC3\xBCn", "Gr\xC3\xBCn"},
                    TextCase{"FourByteCharacterKept", "\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
                    TextCase{"LoneLatin1ByteEmptiesPage", "<p>\xFC</p>", ""},
                    TextCase{"TruncatedSequenceEmptiesPage", "abc\xC3", ""},
                    TextCase{"OverlongFormEmptiesPage", "a\xC0\xAF", ""},
                    TextCase{"SurrogateEmptiesPage", "a\xED\xA0\x80", ""},
                    TextCase{"BeyondUnicodeEmptiesPage", "a\xF4\x90\x80\x80", ""},
                    TextCase{"BadByteInsideCommentIsRemovedFirst", "ok<!-- \xFC -->", "ok"},
                    TextCase{"NulBytesStay", std::string("a\0b", 3), std::string("a\0b", 3)},
                    TextCase{"EmptyStaysEmpty", "", ""}));

class StripHtmlCommentsTest : public testing::TestWithParam<TextCase> {};

TEST_P(StripHtmlCommentsTest, RemovesConstructs) {
    EXPECT_EQ(StripHtmlComments(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StripHtmlCommentsTest,
    testing::Values(
        TextCase{"Empty", "", ""}, TextCase{"NothingToStrip", "a<b>c</b>", "a<b>c</b>"},
        TextCase{"EmptyConstruct", "a<!>b", "ab"},
        // After a removal the same position is looked at again, never the one before it.
        TextCase{"LessThanBeforeConstructIsNotReconsidered", "<<!x>!y>", "<!y>"},
        TextCase{"ConstructAfterRemovedOne", "<!a><!b>c", "c"},
        TextCase{"ConditionalComment", "<!--[if IE]><p>old</p><![endif]-->x", "<p>old</p>x"},
        TextCase{"UnclosedAtEnd", "a<!b>c<!d", "ac"}, TextCase{"BangAlone", "a!b<c", "a!b<c"}));

struct DigitsCase {
    std::string input;
    std::string expected;
};

TEST(DigitsOnlyTest, KeepsDigitsAndFullStops) {
    const DigitsCase cases[] = {
        {"", ""},
        {"125,000 km", "125000"},
        {"2.0 TDI", "2.0"},
        {"EUR 12,500", "12500"},
        {"1.5 l", "1.5"},
        {"-42", "42"},
        {"+1e5", "15"},
        {".", "."},
        {"\xC2\xBD \xD9\xA3 \xC2\xB2", ""},  // one half, Arabic-Indic three, superscript two
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DigitsOnly(c.input), c.expected) << c.input;
    }
}

}  // namespace
}  // namespace marvolt
