#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace marvolt::sim {

// How a page writes characters outside ASCII: as they are (UTF-8), as named references
// ("&uuml;") or as decimal references ("&#252;"). Characters without a reference stay as
// they are in every style.
enum class EntityStyle { Raw = 0, Named = 1, Numeric = 2 };

// Text for an element's content or an attribute value: "&", "<", ">" and '"' always become
// references; other characters as the style says.
std::string EscapeHtml(std::string_view utf8, EntityStyle style = EntityStyle::Raw);

// 125000 as "125,000".
std::string WithThousands(std::int64_t value);

// %XX sequences decoded; with plusIsSpace, "+" stands for a blank as in form data.
std::string PercentDecode(std::string_view text, bool plusIsSpace);

}  // namespace marvolt::sim
