#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Character-level helpers over UTF-8 text. Page positions and cut counts are characters, so
// every cut goes through these instead of byte arithmetic.
namespace marvolt::utf8 {

// True when the text is well-formed UTF-8 (no overlong forms, surrogates or code points
// above U+10FFFF, no truncated sequences).
bool IsWellFormed(std::string_view text);

// The byte offset reached by stepping over `count` characters from byte offset `from`,
// stopping at the end of the text. On text that is not well-formed, every byte that is not a
// continuation byte starts a character, so the walk still ends.
inline std::size_t Advance(std::string_view text, std::size_t from, std::size_t count) {
    std::size_t at = from;
    while (count > 0 && at < text.size()) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
        --count;
    }
    return at;
}

// The text without its last `count` characters; empty when it has no more than that.
std::string_view DropLast(std::string_view text, std::size_t count);

// Appends the UTF-8 form of a Unicode scalar value.
void AppendCodePoint(std::string& out, char32_t codePoint);

}  // namespace marvolt::utf8
