#include "scanner/page_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "scanner/utf8_text.h"

namespace marvolt {

namespace {

// The word tricks below read the lowest address as the lowest byte.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7FULL;

// The high bit of each byte of the word that equals the given byte, and no other bit.
constexpr std::uint64_t BytesEqualTo(std::uint64_t word, unsigned char byte) {
    const std::uint64_t x = word ^ (kOnes * byte);
    return ~(((x & kLows) + kLows) | x) & kHighs;
}

// True when one of the eight bytes of the word equals the given byte.
constexpr bool HasAnyByteOf(std::uint64_t word, unsigned char byte) {
    return BytesEqualTo(word, byte) != 0;
}

// Offset of the first "<!" in text[0, size), or size. Pages hold a "<" every few dozen bytes
// but few "<!", so eight positions are tested at once.
std::size_t FindConstructOpen(const char* text, std::size_t size) {
    std::size_t at = 0;
    while (at + 9 <= size) {
        std::uint64_t here;
        std::uint64_t next;
        std::memcpy(&here, text + at, sizeof here);
        std::memcpy(&next, text + at + 1, sizeof next);
        const std::uint64_t both = BytesEqualTo(here, '<') & BytesEqualTo(next, '!');
        if (both != 0) {
            return at + static_cast<std::size_t>(std::countr_zero(both) / 8);
        }
        at += 8;
    }
    for (; at + 1 < size; ++at) {
        if (text[at] == '<' && text[at + 1] == '!') {
            return at;
        }
    }
    return size;
}

// Removes "<!" constructs from text[0, size) in place and returns the new size. The search
// resumes right after each removed ">", so a "<" left before a removed construct is never
// paired with a "!" that follows it.
std::size_t StripInPlace(char* text, std::size_t size) {
    std::size_t read = 0;
    std::size_t write = 0;
    while (read < size) {
        const std::size_t start = read + FindConstructOpen(text + read, size - read);
        if (start != read && write != read) {
            std::memmove(text + write, text + read, start - read);
        }
        write += start - read;
        if (start == size) {
            break;
        }
        const void* close = std::memchr(text + start + 2, '>', size - start - 2);
        read = close == nullptr
                   ? size
                   : static_cast<std::size_t>(static_cast<const char*>(close) - text) + 1;
    }
    return write;
}

}  // namespace

std::string StripHtmlComments(std::string_view text) {
    std::string out(text);
    out.resize(StripInPlace(out.data(), out.size()));
    return out;
}

std::string NormalizePage(std::string_view body) {
    std::string out;
    out.resize(body.size());
    char* write = out.data();
    const char* read = body.data();
    const std::size_t size = body.size();
    // One pass does what three successive removals (CR LF, then LF, then TAB) do: a CR goes
    // exactly when a LF followed it in the body.
    std::size_t kept = 0;
    std::size_t i = 0;
    while (i < size) {
        // Most of a page is runs of bytes without any of the three: copy those a word at a time.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, read + i, sizeof word);
            if (HasAnyByteOf(word, '\n') || HasAnyByteOf(word, '\t') || HasAnyByteOf(word, '\r')) {
                break;
            }
            std::memcpy(write + kept, &word, sizeof word);
            kept += 8;
            i += 8;
        }
        const std::size_t stop = std::min(size, i + 8);
        for (; i < stop; ++i) {
            const char c = read[i];
            write[kept] = c;
            const bool drop =
                c == '\n' || c == '\t' || (c == '\r' && i + 1 < size && read[i + 1] == '\n');
            kept += drop ? 0 : 1;
        }
    }
    out.resize(StripInPlace(out.data(), kept));
    // Comments go before the check, as they did when the body was still bytes: a stray byte
    // inside a comment does not spoil the page.
    if (!utf8::IsWellFormed(out)) {
        out.clear();
    }
    return out;
}

std::string DigitsOnly(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') {
            out += c;
        }
    }
    return out;
}

}  // namespace marvolt
