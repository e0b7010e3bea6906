#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marvolt::sim {

// One "key=value" piece of a query, as it came: neither side decoded yet.
struct QueryPiece {
    std::string_view key;
    std::string_view value;
};

// The pieces of a query string, empty pieces (as between "&&") left out. A piece without "="
// has an empty value.
std::vector<QueryPiece> SplitQuery(std::string_view query);

// The raw value of the first piece with that key.
std::optional<std::string_view> FirstValue(const std::vector<QueryPiece>& pieces,
                                           std::string_view key);

// The query string of a request target: what follows the first "?", or nothing.
std::string_view QueryOf(std::string_view target);

// A decimal integer that fills the whole text (a leading "-" allowed) and fits an int.
std::optional<int> ToInt(std::string_view text);

}  // namespace marvolt::sim
