#include "scanner/html_to_text.h"

#include <gtest/gtest.h>

#include <string>

namespace marvolt {
namespace {

struct RenderCase {
    const char* name;
    std::string html;
    std::string text;
};

void PrintTo(const RenderCase& c, std::ostream* os) {
    *os << c.name;
}

class HtmlToTextTest : public testing::TestWithParam<RenderCase> {};

TEST_P(HtmlToTextTest, Renders) {
    EXPECT_EQ(HtmlToText(GetParam().html), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    LineBreaks, HtmlToTextTest,
    testing::Values(
        RenderCase{"TwoBrInARowGiveOneLineBreak", "line1<br>line2<br><br>line3",
                   "line1\r\nline2\r\nline3"},
        RenderCase{"BrOnEmptyOutputDoesNothing", "<br/>a", "a"},
        RenderCase{"TwoParagraphs", "<p>A</p><p>B</p>", "A\r\n\r\nB\r\n\r\n"},
        RenderCase{"BlockAfterLineBreakAddsOneMore", "a<br><div>b</div>", "a\r\n\r\nb\r\n\r\n"},
        RenderCase{"BlockAfterText", "a<div>b</div>c", "a\r\n\r\nb\r\n\r\nc"},
        RenderCase{"NestedBlocksGiveOneBlankLine", "<div><p>a</p></div><div>b</div>",
                   "a\r\n\r\nb\r\n\r\n"},
        RenderCase{"EmptyBlockOnEmptyOutput", "<hr>", ""},
        RenderCase{"RuleBetweenTexts", "a<hr>b", "a\r\n\r\nb"},
        RenderCase{"TableCellsAreBlocksRowsAreNot",
                   "<table><tr><td>1</td><td>2</td></tr><tr><th>3</th></tr></table>",
                   "1\r\n\r\n2\r\n\r\n3\r\n\r\n"},
        RenderCase{"HeadingAndTitle", "<title>T</title><h2>H</h2>x", "T\r\n\r\nH\r\n\r\nx"},
        RenderCase{"ListItems", "<ul><li>one</li><li>two</li></ul>",
                   "* one\r\n\r\n* two\r\n\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    WhiteSpace, HtmlToTextTest,
    testing::Values(RenderCase{"RunsBecomeOneSpaceLeadingDropped", "  a  \t\r\n b  ", "a b "},
                    RenderCase{"SpaceBetweenInlineElements", "<b>bold</b> <i>it</i>", "bold it"},
                    RenderCase{"LeadingSpaceAfterSpaceDropped", "<b>a </b> b", "a b"},
                    RenderCase{"LeadingSpaceAfterLineBreakDropped", "a<br>   b", "a\r\nb"},
                    RenderCase{"PreKeepsItsText", "before<pre>a\tb\n  c</pre>after",
                               "before\r\n\r\na\tb\n  c\r\n\r\nafter"}));

INSTANTIATE_TEST_SUITE_P(
    Links, HtmlToTextTest,
    testing::Values(
        RenderCase{"AddressWithoutScheme", "<a href=\"www.x.de\">Site</a>", "Site http://www.x.de"},
        RenderCase{"KnownScheme", "<a href=\"https://x.de/a\">S</a>", "S https://x.de/a"},
        RenderCase{"SchemeCaseIgnored", "<a href=\"MAILTO:a@b.de\">m</a>", "m MAILTO:a@b.de"},
        RenderCase{"ColonBeyondSeventhCharacter", "<a href=\"javascript:x()\">j</a>",
                   "j http://javascript:x()"},
        RenderCase{"UnknownScheme", "<a href=\"tel:123\">t</a>", "t http://tel:123"},
        RenderCase{"AllKnownSchemes",
                   "<a href=\"ftp:a\"></a><a href=\"news:b\"></a><a href=\"nntp:c\"></a>"
                   "<a href=\"gopher:d\"></a><a href=\"http:e\"></a>",
                   "ftp:a news:b nntp:c gopher:d http:e"},
        RenderCase{"PathOnly", "<a href=\"/p\">p</a>", "p http:///p"},
        RenderCase{"NoHref", "<a name=\"top\">no link</a>", "no link"},
        RenderCase{"ImageAltInsideLink", "<a href=\"x\"><img src=\"p.jpg\" alt=\"Logo\"></a>",
                   "Logo http://x"},
        RenderCase{"ImageOutsideLinkGivesNothing", "<img alt=\"outside\">text", "text"},
        RenderCase{"OtherAttributesGiveNothing", "<div title=\"t\" class=\"c\">x</div>",
                   "x\r\n\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    References, HtmlToTextTest,
    testing::Values(RenderCase{"NbspReferenceIsASpace", "a&nbsp;&nbsp;b", "a  b"},
                    RenderCase{"NbspReferenceNotDroppedAsLeadingSpace", "&nbsp;x", " x"},
                    RenderCase{"LiteralNoBreakSpaceStays",
                               "a\xC2\xA0"
                               "b",
                               "a\xC2\xA0"
                               "b"},
                    RenderCase{"NumericNoBreakSpaceIsItsCharacter", "a&#160;b",
                               "a\xC2\xA0"
                               "b"},
                    RenderCase{"NbspInLinkAddress", "<a href=\"a&nbsp;b\">l</a>", "l http://a b"},
                    RenderCase{"KnownReferences", "&lt;b&gt; &eacute;&#233;&#xE9;",
                               "<b> \xC3\xA9\xC3\xA9\xC3\xA9"},
                    RenderCase{"UnknownReferenceStays", "&foo; &", "&foo; &"}));

INSTANTIATE_TEST_SUITE_P(
    Markup, HtmlToTextTest,
    testing::Values(
        RenderCase{"CommentsAndInstructionsGiveNothing", "x<!-- c -->y<?pi x?>z", "xyz"},
        RenderCase{"CdataGivesNothing", "a<![CDATA[b<p>]]>c", "ac"},
        RenderCase{"UnclosedCdataRunsToEnd", "a<![CDATA[b", "a"},
        RenderCase{"ScriptAndStyleGiveNothing", "<script>var a;</script><style>p{}</style>t", "t"},
        // The fragment as written has no paragraphs: none may be made up around it.
        RenderCase{"LooseTextGetsNoParagraph", "x</p>y", "xy"},
        RenderCase{"ClosedBodyAndHtmlAddNoParagraph", "A</body></html>B</BODY>C", "ABC"},
        RenderCase{"StrayEndTagsIgnored", "a</div></span>b", "ab"},
        RenderCase{"SellerBlockCutAfterParagraph", "<br/>Auto GmbH<br/>Main 1</p><div",
                   "Auto GmbH\r\nMain 1\r\n\r\n"},
        RenderCase{"NotWellFormedUtf8GivesNothing", "ab\xFF", ""}, RenderCase{"Empty", "", ""}));

// The parser stops at a nesting depth of a few hundred elements; what came before stays.
TEST(HtmlToTextDeepTest, DeeplyNestedFragmentIsCutWithoutHarm) {
    std::string html = "before<br>";
    for (int i = 0; i < 100000; ++i) {
        html += "<span>";
    }
    html += "deep";
    EXPECT_EQ(HtmlToText(html), "before\r\n");
}

}  // namespace
}  // namespace marvolt
