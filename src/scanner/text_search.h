#pragma once

#include <cstddef>
#include <string_view>

// Substring search for the page markers. Markers are ASCII; the any-case search folds ASCII
// letters only, which keeps every byte offset valid in the original text (a non-ASCII letter
// never upper-cases to an ASCII one in the pages' character repertoire).
namespace marvolt::text {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Byte offset of the first occurrence of `needle`, letter case significant.
std::size_t Find(std::string_view haystack, std::string_view needle);

// Byte offset of the first occurrence of `needle`, ASCII letter case ignored.
std::size_t FindAnyCase(std::string_view haystack, std::string_view needle);

inline bool ContainsAnyCase(std::string_view haystack, std::string_view needle) {
    return FindAnyCase(haystack, needle) != kNotFound;
}

}  // namespace marvolt::text
