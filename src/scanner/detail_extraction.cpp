#include "scanner/detail_extraction.h"

#include <cstdint>
#include <limits>
#include <string>

#include "scanner/conversion_error.h"
#include "scanner/html_entities.h"
#include "scanner/html_to_text.h"
#include "scanner/page_text.h"
#include "scanner/text_search.h"
#include "scanner/utf8_text.h"

namespace marvolt {

namespace {

bool IsSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpaceOrControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpaceOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Shortens a text quoted in an error message so one bad page cannot flood the log.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kMaxCharacters = 60;
    const std::size_t cut = utf8::Advance(text, 0, kMaxCharacters);
    std::string quoted = "\"";
    quoted.append(text.substr(0, cut));
    quoted += cut < text.size() ? "...\"" : "\"";
    return quoted;
}

// Trimmed, reduced to digits and ".", then read as a 32-bit signed integer.
std::int32_t AsNumber(std::string_view text, std::string_view field) {
    const std::string_view trimmed = Trimmed(text);
    const std::string digits = DigitsOnly(trimmed);
    std::int64_t value = 0;
    bool valid = !digits.empty();
    for (const char c : digits) {
        if (c == '.') {
            valid = false;
            break;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            valid = false;
            break;
        }
    }
    if (!valid) {
        throw ConversionError(std::string(field) + ": " + Quoted(trimmed) +
                              " is not a valid integer value");
    }
    return static_cast<std::int32_t>(value);
}

// The working copy of the page: steps only ever drop text from its front, so it is a moving
// view into the page and no step copies what is left.
class WorkingText {
  public:
    explicit WorkingText(std::string_view page) : w_(page) {}

    // Occurs in W, ASCII letter case ignored.
    bool Contains(std::string_view marker) const { return text::ContainsAnyCase(w_, marker); }

    // Occurs in W, letter case significant.
    bool Has(std::string_view marker) const { return text::Find(w_, marker) != text::kNotFound; }

    // Drops the first p + n characters, p being the 1-based position of the first exact
    // occurrence of the marker (0 when there is none).
    void Cut(std::string_view marker, std::size_t n) {
        const std::size_t at = text::Find(w_, marker);
        const std::size_t end =
            at == text::kNotFound ? utf8::Advance(w_, 0, n) : utf8::Advance(w_, at, n + 1);
        w_.remove_prefix(end);
    }

    // The characters before the first exact occurrence of `end`; empty when it does not occur.
    std::string_view TextBefore(std::string_view end) const {
        const std::size_t at = text::Find(w_, end);
        return at == text::kNotFound ? std::string_view() : w_.substr(0, at);
    }

    std::string_view Label() const { return Trimmed(TextBefore("<")); }

    // W through the first "</p>" and four more characters (the first seven characters when
    // there is no "</p>"). W is not shortened.
    std::string_view SellerFragment() const {
        const std::size_t at = text::Find(w_, "</p>");
        const std::size_t end =
            at == text::kNotFound ? utf8::Advance(w_, 0, 7) : utf8::Advance(w_, at, 8);
        return w_.substr(0, end);
    }

  private:
    std::string_view w_;
};

std::uint8_t FuelCode(std::string_view label) {
    if (text::ContainsAnyCase(label, "petrol")) {
        return 1;
    }
    if (text::ContainsAnyCase(label, "diesel")) {
        return 2;
    }
    if (text::ContainsAnyCase(label, "lpg")) {
        return 3;
    }
    return 0;
}

std::uint8_t DoorsCode(std::string_view label) {
    if (text::ContainsAnyCase(label, "2/3")) {
        return 1;
    }
    if (text::ContainsAnyCase(label, "4/5")) {
        return 2;
    }
    if (text::ContainsAnyCase(label, "6/7")) {
        return 3;
    }
    return 0;
}

// The automatic test comes first: "semi-automatic" labels may also say "automatic
// transmission".
std::uint8_t TransmissionCode(std::string_view label) {
    if (text::ContainsAnyCase(label, "automatic transmission")) {
        return 2;
    }
    if (text::ContainsAnyCase(label, "manual gearbox")) {
        return 1;
    }
    if (text::ContainsAnyCase(label, "semi-automatic")) {
        return 3;
    }
    return 0;
}

std::uint8_t ClimatisationCode(std::string_view label) {
    if (text::ContainsAnyCase(label, "Automatic air conditioning")) {
        return 2;
    }
    if (text::ContainsAnyCase(label, "A/C")) {
        return 1;
    }
    return 0;
}

std::string RenderSeller(std::string_view fragment) {
    return HtmlToText(DecodeHtmlEntities(fragment));
}

std::string SellerCountryOf(std::string_view dealer) {
    constexpr std::string_view kCountries[] = {"Germany",     "Italy",   "Poland", "France",
                                               "Netherlands", "Belgium", "Estonia"};
    for (const std::string_view country : kCountries) {
        if (text::Find(dealer, country) != text::kNotFound) {
            return std::string(country);
        }
    }
    return {};
}

}  // namespace

void ResetCarInfo(CarInfo& car) {
    car.CarDescription.clear();
    car.Price = 0;
    car.Fuel = 0;
    car.Transmission = 0;
    car.SellerType = 0;
    car.FirstRegistration.clear();
    car.Mileage = 0;
    car.Power = 0;
    car.PictureUrl.clear();
    car.Picture.clear();
    car.Description.clear();
    car.Dealer.clear();
    car.Features.clear();
    car.ConstructionYear = 0;
    car.SellerCountry.clear();
    car.Climatisation = 0;
    car.Doors = 0;
    car.EngineCapacity = 0;
}

void EvaluatePage(std::string_view pageText, CarInfo& car, const DebugLog& log) {
    log.Write("Evaluating page");
    WorkingText w(pageText);

    // The headline has no presence test: without its marker the cut drops the first 21
    // characters and the text up to the next "<" is taken all the same.
    w.Cut("makeModelDescription", 21);
    car.CarDescription = std::string(w.Label());

    car.Damaged = w.Contains("damaged vehicle");

    if (w.Contains("name=\"pic_01\"")) {
        w.Cut("name=\"pic_01\"", 1);
        w.Cut("src=\"", 4);
        car.PictureUrl = std::string(w.TextBefore("\""));
    }
    if (w.Contains("id=\"price_gross\">")) {
        w.Cut("id=\"price_gross\">", 20);
        car.Price = AsNumber(w.TextBefore("<"), "Price");
    }
    if (w.Contains("id=\"mileage\">")) {
        w.Cut("id=\"mileage\">", 12);
        car.Mileage = AsNumber(w.TextBefore("<"), "Mileage");
    }
    if (w.Contains("Cubic Capacity:")) {
        w.Cut("Cubic Capacity:", 14);
        w.Cut("<strong>", 7);
        // The unit's last two characters go before the digits are read.
        car.EngineCapacity = AsNumber(utf8::DropLast(w.TextBefore("<"), 2), "EngineCapacity");
    }
    if (w.Contains("Power:")) {
        w.Cut("Power:", 1);
        w.Cut("<strong>", 7);
        car.Power = AsNumber(w.TextBefore("kW"), "Power");
    }
    if (w.Contains("id=\"constructionYear\"")) {
        w.Cut("id=\"constructionYear\"", 21);
        car.ConstructionYear = AsNumber(w.TextBefore("<"), "ConstructionYear");
    }
    if (w.Contains("Fuel Type:")) {
        w.Cut("Fuel Type:", 9);
        w.Cut("<strong>", 7);
        car.Fuel = FuelCode(w.Label());
    }
    if (w.Contains("Door Count:")) {
        w.Cut("Door Count:", 9);
        w.Cut("<strong>", 7);
        w.Cut("<strong>", 7);
        car.Doors = DoorsCode(w.Label());
    }
    if (w.Contains("Gearbox:")) {
        w.Cut("Gearbox:", 7);
        w.Cut("<strong>", 7);
        w.Cut("<strong>", 7);
        car.Transmission = TransmissionCode(w.Label());
    }
    if (w.Contains("id=\"firstRegistration\">")) {
        w.Cut("id=\"firstRegistration\">", 22);
        car.FirstRegistration = std::string(Trimmed(w.TextBefore("<")));
    }
    if (w.Contains("Climatisation:")) {
        w.Cut("Climatisation:", 7);
        w.Cut("<strong>", 7);
        car.Climatisation = ClimatisationCode(w.Label());
    } else {
        car.Climatisation = 3;  // the page has no climatisation entry at all
    }
    if (w.Has("<strong>Features</strong>")) {
        w.Cut("<strong>Features</strong>", 25);
        w.Cut("<br/>", 4);
        car.Features = std::string(Trimmed(DecodeHtmlEntities(w.TextBefore("<"))));
    }
    if (w.Has("Vehicle Description")) {
        w.Cut("Vehicle Description", 19);
        w.Cut("<br/>", 6);
        car.Description = std::string(Trimmed(DecodeHtmlEntities(w.TextBefore("<"))));
    }
    if (w.Has("<strong>Private Seller</strong>")) {
        car.SellerType = 2;
        w.Cut("<strong>Private Seller</strong>", 30);
        car.Dealer = RenderSeller(w.SellerFragment());
    }
    // A dealer block after a private-seller block wins.
    if (w.Has("<strong>Dealer</strong>")) {
        car.SellerType = 1;
        w.Cut("<strong>Dealer</strong>", 22);
        car.Dealer = RenderSeller(w.SellerFragment());
    }
    car.SellerCountry = SellerCountryOf(car.Dealer);

    std::string done = "Evaluate complete. [CarDescription:";
    done += car.CarDescription;
    done += ", Price: " + std::to_string(car.Price);
    done += ", Mileage: " + std::to_string(car.Mileage);
    done += "]";
    log.Write(done);
}

}  // namespace marvolt
