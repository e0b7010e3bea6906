#pragma once

#include <span>
#include <string>
#include <string_view>

namespace marvolt {

// One character of the entity table, reachable by its named and by its numeric reference.
struct HtmlEntity {
    std::string_view name;  // without "&" and ";"
    char32_t codePoint;
};

// The 240 characters the page texts may carry as references, in table order.
std::span<const HtmlEntity> HtmlEntityTable();

// Replaces every exact key of the table ("&name;" or "&#decimal;") by its character. The
// output is not scanned again, and anything that is not an exact key stays as it is.
std::string DecodeHtmlEntities(std::string_view text);

}  // namespace marvolt
