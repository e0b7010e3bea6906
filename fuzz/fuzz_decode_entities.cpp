#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "scanner/html_entities.h"
#include "scanner/utf8_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string decoded = marvolt::DecodeHtmlEntities(text);
    // A key of at least four bytes becomes a character of at most three.
    FUZZ_CHECK(decoded.size() <= text.size());
    if (text.find('&') == std::string_view::npos || text.find(';') == std::string_view::npos) {
        FUZZ_CHECK(decoded == text);
    }
    if (marvolt::utf8::IsWellFormed(text)) {
        FUZZ_CHECK(marvolt::utf8::IsWellFormed(decoded));
    }
    return 0;
}
