#include "simulator/query_string.h"

#include <charconv>

namespace marvolt::sim {

std::vector<QueryPiece> SplitQuery(std::string_view query) {
    std::vector<QueryPiece> pieces;
    while (!query.empty()) {
        const auto end = query.find('&');
        const auto piece = query.substr(0, end);
        if (!piece.empty()) {
            const auto equals = piece.find('=');
            pieces.push_back(equals == std::string_view::npos
                                 ? QueryPiece{piece, {}}
                                 : QueryPiece{piece.substr(0, equals), piece.substr(equals + 1)});
        }
        if (end == std::string_view::npos) {
            break;
        }
        query.remove_prefix(end + 1);
    }
    return pieces;
}

std::optional<std::string_view> FirstValue(const std::vector<QueryPiece>& pieces,
                                           std::string_view key) {
    for (const auto& piece : pieces) {
        if (piece.key == key) {
            return piece.value;
        }
    }
    return std::nullopt;
}

std::string_view QueryOf(std::string_view target) {
    const auto mark = target.find('?');
    if (mark == std::string_view::npos) {
        return {};
    }
    auto query = target.substr(mark + 1);
    // A fragment never reaches a server, but a hand-typed one must not become a value.
    return query.substr(0, query.find('#'));
}

std::optional<int> ToInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace marvolt::sim
