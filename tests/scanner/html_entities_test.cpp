#include "scanner/html_entities.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>

#include <set>
#include <string>

#include "scanner/utf8_text.h"

namespace marvolt {
namespace {

std::string Utf8(char32_t codePoint) {
    std::string out;
    utf8::AppendCodePoint(out, codePoint);
    return out;
}

TEST(DecodeHtmlEntitiesTest, ReplacesExactKeysOnly) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {"Fish &amp; Chips", "Fish & Chips"},
        {"&euro;&#8364;", "\xE2\x82\xAC\xE2\x82\xAC"},
        {"&lt;b&gt; &quot;x&quot; &apos;y&#39;", "<b> \"x\" 'y'"},
        {"&nbsp;", "\xC2\xA0"},
        {"&thetasym;", "\xCF\x91"},
        {"&EURO; &AMP; &Amp;", "&EURO; &AMP; &Amp;"},  // names are case-sensitive
        {"&#038; &#x26; &#X26;", "&#038; &#x26; &#X26;"},
        {"&#173; &shy; &rArr; &#8658; &weierp;", "&#173; &shy; &rArr; &#8658; &weierp;"},
        {"&#0; &#; &; &#1234567890123456789012;", "&#0; &#; &; &#1234567890123456789012;"},
        // The output is not scanned again.
        {"&amp;lt;", "&lt;"},
        {"&amp;amp;", "&amp;"},
        // A "&" takes the first ";" after it, so text in between spoils the key...
        {"Fish & Chips; fresh", "Fish & Chips; fresh"},
        // ...but every later "&" is tried on its own.
        {"&a&amp;", "&a&"},
        {"a & b", "a & b"},
        {"&amp", "&amp"},
        {"tail &amp;", "tail &"},
        {"&amp;&amp;&amp;", "&&&"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeHtmlEntities(c.input), c.expected) << c.input;
    }
}

// The table holds the HTML 4.01 characters less thirteen names, plus "&apos;". Each row is
// checked against libxml2's own HTML 4 entity table, and both of its keys must decode.
TEST(DecodeHtmlEntitiesTest, TableMatchesHtml4AndBothKeysDecode) {
    const auto table = HtmlEntityTable();
    EXPECT_EQ(table.size(), 240u);
    std::set<std::string_view> names;
    for (const HtmlEntity& row : table) {
        names.insert(row.name);
        const std::string name(row.name);
        const htmlEntityDesc* known =
            htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.c_str()));
        ASSERT_NE(known, nullptr) << name;
        EXPECT_EQ(known->value, static_cast<unsigned>(row.codePoint)) << name;
        const std::string expected = "x" + Utf8(row.codePoint) + "y";
        EXPECT_EQ(DecodeHtmlEntities("x&" + name + ";y"), expected) << name;
        EXPECT_EQ(DecodeHtmlEntities("x&#" + std::to_string(row.codePoint) + ";y"), expected)
            << name;
    }
    EXPECT_EQ(names.size(), table.size()) << "a name is listed twice";
    for (const char* left : {"alefsym", "dArr", "frasl", "hArr", "image", "lArr", "lang", "rArr",
                             "rang", "real", "shy", "uArr", "weierp"}) {
        EXPECT_EQ(names.count(left), 0u) << left;
        const std::string key = std::string("&") + left + ";";
        EXPECT_EQ(DecodeHtmlEntities(key), key);
    }
    EXPECT_EQ(names.count("apos"), 1u);
}

}  // namespace
}  // namespace marvolt
