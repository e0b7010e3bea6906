#include "settings/notification_template.h"

#include <array>

#include "data/settings_store.h"
#include "scanner/car_info.h"

namespace marvolt {

namespace {

constexpr const char* kDefaultTemplate =
    "New car %CAR_INFO% found. Capacity: %CAPACITY% cm3, Fuel: %FUEL%";
constexpr const char* kUnknown = "Unknown";
constexpr std::array<const char*, 4> kFuelLabels = {kUnknown, "Petrol", "Diesel", "LPG"};
constexpr std::array<const char*, 4> kGearboxLabels = {kUnknown, "Manual", "Automatic",
                                                       "Semi-automatic"};

QString Label(const std::array<const char*, 4>& labels, int code, const Translator& translate) {
    const bool known = code >= 0 && code < static_cast<int>(labels.size());
    return translate(known ? labels[static_cast<std::size_t>(code)] : kUnknown);
}

// Placeholders are ASCII, and only ASCII letters have case partners that are ASCII, so
// comparing ASCII letters without case is the whole of the any-case rule. (Unicode case
// folding would also let "\u017F" stand for "S", which no user means.)
bool MatchesAt(const QString& text, qsizetype at, QLatin1String placeholder, bool ignoreCase) {
    for (qsizetype i = 0; i < placeholder.size(); ++i) {
        const char16_t c = text.at(at + i).unicode();
        const char16_t wanted = static_cast<unsigned char>(placeholder.at(i).toLatin1());
        if (c == wanted) {
            continue;
        }
        if (!ignoreCase || c >= 128) {
            return false;
        }
        const char16_t upper = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
        if (upper != wanted) {
            return false;
        }
    }
    return true;
}

// Every occurrence from left to right without overlap; the inserted value is never searched.
// The value is made only when the placeholder occurs: a label costs a translation.
template <typename MakeValue>
QString ReplaceAll(const QString& text, QLatin1String placeholder, bool ignoreCase,
                   MakeValue makeValue) {
    QString result;
    QString value;
    qsizetype copied = 0;
    bool found = false;
    const qsizetype last = text.size() - placeholder.size();
    for (qsizetype at = 0; at <= last;) {
        if (!MatchesAt(text, at, placeholder, ignoreCase)) {
            ++at;
            continue;
        }
        if (!found) {
            value = makeValue();
            found = true;
        }
        result += QStringView(text).mid(copied, at - copied);
        result += value;
        at += placeholder.size();
        copied = at;
    }
    if (!found) {
        return text;
    }
    result += QStringView(text).mid(copied);
    return result;
}

QString ReplaceAll(const QString& text, QLatin1String placeholder, const QString& value) {
    return ReplaceAll(text, placeholder, false, [&value] { return value; });
}

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString DefaultNotificationTemplate(const Translator& translate) {
    return translate(kDefaultTemplate);
}

QString LoadNotificationTemplate(const SettingsStore& store, const QString& key,
                                 const Translator& translate) {
    return store.ReadSettingText(key, DefaultNotificationTemplate(translate));
}

QString FormatPrice(qint64 euros, const QLocale& locale) {
    const QString digits = QString::number(euros < 0 ? -euros : euros);
    return (euros < 0 ? QStringLiteral("-") : QString()) + digits + locale.decimalPoint() +
           QStringLiteral("00 EUR");
}

QString FuelLabel(int code, const Translator& translate) {
    return Label(kFuelLabels, code, translate);
}

QString GearboxLabel(int code, const Translator& translate) {
    return Label(kGearboxLabels, code, translate);
}

QString FormatNotificationText(const QString& notificationTemplate, const CarInfo& car,
                               const Translator& translate, const QLocale& locale) {
    struct Step {
        QLatin1String placeholder;
        QString (*value)(const CarInfo&, const Translator&, const QLocale&);
    };
    static const Step kSteps[] = {
        {QLatin1String("%ID%"),
         [](const CarInfo& c, const Translator&, const QLocale&) { return QString::number(c.Id); }},
        {QLatin1String("%CAPACITY%"),
         [](const CarInfo& c, const Translator&, const QLocale&) {
             return QString::number(c.EngineCapacity);
         }},
        {QLatin1String("%CONSTRUCTION_YEAR%"),
         [](const CarInfo& c, const Translator&, const QLocale&) {
             return QString::number(c.ConstructionYear);
         }},
        {QLatin1String("%FEATURES%"),
         [](const CarInfo& c, const Translator&, const QLocale&) { return Utf8(c.Features); }},
        {QLatin1String("%FUEL%"), [](const CarInfo& c, const Translator& t,
                                     const QLocale&) { return FuelLabel(c.Fuel, t); }},
        {QLatin1String("%MILEAGE%"), [](const CarInfo& c, const Translator&,
                                        const QLocale&) { return QString::number(c.Mileage); }},
        {QLatin1String("%DESCRIPTION%"),
         [](const CarInfo& c, const Translator&, const QLocale&) { return Utf8(c.Description); }},
        {QLatin1String("%CAR_INFO%"), [](const CarInfo& c, const Translator&,
                                         const QLocale&) { return Utf8(c.CarDescription); }},
        {QLatin1String("%PRICE%"), [](const CarInfo& c, const Translator&,
                                      const QLocale& l) { return FormatPrice(c.Price, l); }},
        {QLatin1String("%GEARBOX%"),
         [](const CarInfo& c, const Translator& t, const QLocale&) {
             return GearboxLabel(c.Transmission, t);
         }},
        {QLatin1String("%FIRST_REGISTRATION%"),
         [](const CarInfo& c, const Translator&, const QLocale&) {
             return Utf8(c.FirstRegistration);
         }},
        {QLatin1String("%SELLER%"),
         [](const CarInfo& c, const Translator&, const QLocale&) { return Utf8(c.Dealer); }},
    };

    // Each step works on the result of the one before, so a value holding a later
    // placeholder has it filled in turn, while an earlier one stays as written.
    QString text = notificationTemplate;
    for (const Step& step : kSteps) {
        text = ReplaceAll(text, step.placeholder, true,
                          [&] { return step.value(car, translate, locale); });
    }
    return text;
}

QString ApplySampleValues(const QString& text, const Translator& translate) {
    QString result = ReplaceAll(text, QLatin1String("%CAR_INFO%"), QStringLiteral("BMW 325 Ci"));
    result = ReplaceAll(result, QLatin1String("%CAPACITY%"), QStringLiteral("2500"));
    return ReplaceAll(result, QLatin1String("%FUEL%"), false, [&] { return translate("Petrol"); });
}

}  // namespace marvolt
