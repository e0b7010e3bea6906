#include "simulator/html_text.h"

#include <algorithm>
#include <array>

namespace marvolt::sim {

namespace {

struct Reference {
    char32_t codePoint;
    std::string_view name;
};

// Named references a page may use, sorted by code point. U+00AD (soft hyphen) is left out on
// purpose: pages write it as it is.
constexpr auto kReferences = [] {
    constexpr std::string_view kLatin1[] = {
        "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
        "copy",   "ordf",   "laquo",  "not",    "",       "reg",    "macr",   "deg",    "plusmn",
        "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
        "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
        "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
        "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
        "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
        "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
        "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
        "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
        "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
    static_assert(std::size(kLatin1) == 96);
    constexpr Reference kOthers[] = {
        {338, "OElig"},  {339, "oelig"},  {352, "Scaron"},  {353, "scaron"},  {376, "Yuml"},
        {402, "fnof"},   {710, "circ"},   {732, "tilde"},   {8211, "ndash"},  {8212, "mdash"},
        {8216, "lsquo"}, {8217, "rsquo"}, {8218, "sbquo"},  {8220, "ldquo"},  {8221, "rdquo"},
        {8222, "bdquo"}, {8226, "bull"},  {8230, "hellip"}, {8240, "permil"}, {8364, "euro"},
        {8482, "trade"}, {8722, "minus"}};
    std::array<Reference, 95 + std::size(kOthers)> table{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < std::size(kLatin1); ++i) {
        if (!kLatin1[i].empty()) {
            table[n++] = {static_cast<char32_t>(160 + i), kLatin1[i]};
        }
    }
    for (const auto& other : kOthers) {
        table[n++] = other;
    }
    return table;
}();

const Reference* FindReference(char32_t codePoint) {
    const auto* found = std::lower_bound(
        kReferences.begin(), kReferences.end(), codePoint,
        [](const Reference& reference, char32_t value) { return reference.codePoint < value; });
    return found != kReferences.end() && found->codePoint == codePoint ? found : nullptr;
}

// Length of the well-formed UTF-8 sequence at the start of bytes and its code point; 0 when
// the sequence is not well-formed.
std::size_t DecodeOne(std::string_view bytes, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    codePoint = value;
    return length;
}

}  // namespace

std::string EscapeHtml(std::string_view utf8, EntityStyle style) {
    std::string html;
    html.reserve(utf8.size() + utf8.size() / 8);
    while (!utf8.empty()) {
        char32_t codePoint = 0;
        std::size_t length = DecodeOne(utf8, codePoint);
        if (length == 0) {
            // Not ours to repair: pass the byte on.
            html += utf8[0];
            utf8.remove_prefix(1);
            continue;
        }
        switch (codePoint) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                if (const auto* reference = codePoint >= 0x80 ? FindReference(codePoint) : nullptr;
                    reference != nullptr && style != EntityStyle::Raw) {
                    if (style == EntityStyle::Named) {
                        html += "&" + std::string(reference->name) + ";";
                    } else {
                        html += "&#" + std::to_string(static_cast<std::uint32_t>(codePoint)) + ";";
                    }
                } else {
                    html.append(utf8.substr(0, length));
                }
                break;
        }
        utf8.remove_prefix(length);
    }
    return html;
}

std::string WithThousands(std::int64_t value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return value < 0 ? "-" + digits : digits;
}

std::string PercentDecode(std::string_view text, bool plusIsSpace) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    };
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
            hex(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else if (text[i] == '+' && plusIsSpace) {
            decoded += ' ';
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

}  // namespace marvolt::sim
