#include "scanner/utf8_text.h"

#include <cstdint>
#include <cstring>

namespace marvolt::utf8 {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool IsWellFormed(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        // Pages are mostly ASCII: check eight bytes at a time while no high bit is set.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            i += 8;
        }
        if (i >= size) {
            break;
        }
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) {
                low = 0xA0;  // overlong otherwise
            } else if (lead == 0xED) {
                high = 0x9F;  // surrogates otherwise
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) {
                low = 0x90;  // overlong otherwise
            } else if (lead == 0xF4) {
                high = 0x8F;  // above U+10FFFF otherwise
            }
        } else {
            return false;
        }
        if (size - i < length) {
            return false;
        }
        if (bytes[i + 1] < low || bytes[i + 1] > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (!IsContinuation(bytes[i + k])) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string_view DropLast(std::string_view text, std::size_t count) {
    std::size_t end = text.size();
    while (count > 0 && end > 0) {
        --end;
        while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) {
            --end;
        }
        --count;
    }
    return text.substr(0, end);
}

void AppendCodePoint(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace marvolt::utf8
