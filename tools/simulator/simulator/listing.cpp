#include "simulator/listing.h"

#include <cstdio>

namespace marvolt::sim {

namespace {

std::string Join(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string text;
    for (const auto& piece : pieces) {
        if (!text.empty()) {
            text += separator;
        }
        text += piece;
    }
    return text;
}

}  // namespace

std::string Listing::FirstRegistration() const {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%04d", registrationMonth, registrationYear);
    return text;
}

std::string Listing::DescriptionText() const {
    return Join(description, " ");
}

std::string Listing::FeaturesText() const {
    return Join(features, ", ");
}

}  // namespace marvolt::sim
