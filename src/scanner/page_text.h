#pragma once

#include <string>
#include <string_view>

// Page text: what the scanner searches for markers. It is UTF-8 without line feeds, TABs or
// "<!" constructs; positions in it count characters.
namespace marvolt {

// Turns a raw response body into page text: drops every CR LF pair, every other LF and every
// TAB, then every "<!" construct (StripHtmlComments). A body that is not well-formed UTF-8
// gives empty text, so no partial page is ever searched.
std::string NormalizePage(std::string_view body);

// Removes every "<!" construct from its "<" through the first ">" after it (to the end of the
// text when no ">" follows). A comment therefore ends at its first ">", not at "-->".
std::string StripHtmlComments(std::string_view text);

// Keeps only the characters that are a number on their own: the digits and ".".
std::string DigitsOnly(std::string_view text);

}  // namespace marvolt
