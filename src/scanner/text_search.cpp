#include "scanner/text_search.h"

#include <string.h>  // memmem

#include <array>
#include <cstring>

namespace marvolt::text {

namespace {

constexpr unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c | 0x20) : c;
}

}  // namespace

std::size_t Find(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) {
        return 0;
    }
    const void* hit = ::memmem(haystack.data(), haystack.size(), needle.data(), needle.size());
    return hit == nullptr
               ? kNotFound
               : static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
}

// Horspool over folded bytes: one pass, no allocation, and it skips ahead by up to the
// needle's length, so a marker that is absent from a large page costs little.
std::size_t FindAnyCase(std::string_view haystack, std::string_view needle) {
    const std::size_t m = needle.size();
    if (m == 0) {
        return 0;
    }
    if (haystack.size() < m) {
        return kNotFound;
    }
    const auto* hay = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto* pat = reinterpret_cast<const unsigned char*>(needle.data());
    std::array<unsigned char, 64> folded{};
    if (m > folded.size()) {
        // No marker is this long; fall back to a plain scan.
        for (std::size_t at = 0; at + m <= haystack.size(); ++at) {
            std::size_t k = 0;
            while (k < m && Fold(hay[at + k]) == Fold(pat[k])) {
                ++k;
            }
            if (k == m) {
                return at;
            }
        }
        return kNotFound;
    }
    std::array<std::size_t, 256> shift;
    shift.fill(m);
    for (std::size_t k = 0; k < m; ++k) {
        folded[k] = Fold(pat[k]);
    }
    for (std::size_t k = 0; k + 1 < m; ++k) {
        shift[folded[k]] = m - 1 - k;
        // The table is indexed by the folded text byte, so an upper-case letter in the text
        // must find the same entry as its lower-case form.
        if (folded[k] >= 'a' && folded[k] <= 'z') {
            shift[folded[k] & ~0x20u] = m - 1 - k;
        }
    }
    const unsigned char last = folded[m - 1];
    const std::size_t end = haystack.size() - m;
    std::size_t at = 0;
    while (at <= end) {
        const unsigned char c = hay[at + m - 1];
        if (Fold(c) == last) {
            std::size_t k = 0;
            while (k + 1 < m && Fold(hay[at + k]) == folded[k]) {
                ++k;
            }
            if (k + 1 == m) {
                return at;
            }
        }
        at += shift[c];
    }
    return kNotFound;
}

}  // namespace marvolt::text
