#include "scanner/entry_walk.h"

#include <algorithm>
#include <charconv>

#include "scanner/conversion_error.h"
#include "scanner/site_interface.h"
#include "scanner/text_search.h"
#include "scanner/utf8_text.h"

namespace marvolt {

namespace {

// The text before the next "\"", empty when there is none.
std::string_view TextBeforeQuote(std::string_view text) {
    const std::size_t quote = text.find('"');
    return quote == std::string_view::npos ? std::string_view() : text.substr(0, quote);
}

// Reads one id into the scan; false (with the scan's error set) when it is no number.
bool TakeId(std::string_view text, IdScan& scan, std::int32_t& id) {
    try {
        id = ParseListingId(text);
        return true;
    } catch (const ConversionError& error) {
        scan.error = error.what();
        return false;
    }
}

}  // namespace

std::int32_t ParseListingId(std::string_view text) {
    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        const std::string shown(text.substr(0, utf8::Advance(text, 0, 40)));
        throw ConversionError("'" + shown + "' is not a valid integer value");
    }
    return value;
}

IdScan ScanAllIds(std::string_view pageText) {
    IdScan scan;
    std::string_view rest = pageText;
    for (std::size_t at; (at = text::Find(rest, site::kListingIdMarker)) != text::kNotFound;) {
        rest.remove_prefix(at + site::kListingIdMarker.size());
        std::int32_t id = 0;
        if (!TakeId(TextBeforeQuote(rest), scan, id)) {
            break;
        }
        scan.ids.push_back(id);
    }
    return scan;
}

IdScan ScanNewIds(std::string_view pageText, const KnownIds& known) {
    IdScan scan;
    KnownIds met;  // an id listed twice on one page ends the walk like a known one
    std::string_view rest = pageText;
    for (;;) {
        const std::size_t entry = std::min(text::Find(rest, site::kEntryMarkerNormal),
                                           text::Find(rest, site::kEntryMarkerEyecatcher));
        if (entry == text::kNotFound) {
            break;
        }
        // Through the marker's first 18 characters and one more: the length of
        // "listEntry normalAd", whichever marker it is.
        rest.remove_prefix(utf8::Advance(rest, entry, 19));
        const std::size_t id = text::Find(rest, site::kListingIdMarker);
        rest.remove_prefix(id == text::kNotFound ? utf8::Advance(rest, 0, 28)
                                                 : id + site::kListingIdMarker.size());
        std::int32_t listing = 0;
        if (!TakeId(TextBeforeQuote(rest), scan, listing)) {
            break;
        }
        if (known.contains(listing) || !met.insert(listing).second) {
            break;
        }
        scan.ids.push_back(listing);
    }
    return scan;
}

}  // namespace marvolt
