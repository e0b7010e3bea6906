#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "scanner/html_to_text.h"
#include "scanner/utf8_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view fragment(reinterpret_cast<const char*>(data), size);
    const std::string text = marvolt::HtmlToText(fragment);
    FUZZ_CHECK(marvolt::utf8::IsWellFormed(text));
    if (!marvolt::utf8::IsWellFormed(fragment)) {
        FUZZ_CHECK(text.empty());
    }
    // Paragraph breaks never stack: unless the fragment brings CRs of its own (in "pre" text,
    // in an address, as a reference), the output holds no two blank lines in a row.
    bool ownBreaks = fragment.find('\r') != std::string_view::npos ||
                     fragment.find("&#") != std::string_view::npos;
    for (std::size_t at = fragment.find('<'); at != std::string_view::npos && !ownBreaks;
         at = fragment.find('<', at + 1)) {
        const std::string_view tag = fragment.substr(at + 1, 3);
        ownBreaks = tag.size() == 3 && (tag[0] | 0x20) == 'p' && (tag[1] | 0x20) == 'r' &&
                    (tag[2] | 0x20) == 'e';
    }
    if (!ownBreaks) {
        FUZZ_CHECK(text.find("\r\n\r\n\r\n") == std::string::npos);
    }
    return 0;
}
