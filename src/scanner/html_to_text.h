#pragma once

#include <string>
#include <string_view>

namespace marvolt {

// Renders an HTML fragment (UTF-8) as plain text with CR LF line breaks: runs of white space
// become one space outside "pre", block elements stand in paragraphs separated by one blank
// line, "br" breaks the line, "li" starts with "* ", a link is followed by its address and an
// image inside a link by its alt text. The fragment may start or end inside elements. Text
// that is not well-formed UTF-8 renders as empty text.
std::string HtmlToText(std::string_view fragment);

}  // namespace marvolt
