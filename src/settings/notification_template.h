#pragma once

#include <QLocale>
#include <QString>

#include "data/data_module.h"

namespace marvolt {

class SettingsStore;
struct CarInfo;

// The template used wherever the user has none: "New car %CAR_INFO% found. ..." in the
// current language, translated at the moment it is needed.
QString DefaultNotificationTemplate(const Translator& translate = EnglishText);

// The template stored under `key`; a missing row, a null and an empty text all give the
// translated default. Read afresh on every call so an edit applies to the next vehicle.
QString LoadNotificationTemplate(const SettingsStore& store, const QString& key,
                                 const Translator& translate = EnglishText);

// The template with every placeholder replaced by the vehicle's value. Placeholders are matched
// without regard to letter case, one after another in a fixed order; a value is not searched
// again for its own placeholder but is for the ones after it. The price uses the decimal
// separator of `locale`; fuel and gearbox labels pass through `translate`.
QString FormatNotificationText(const QString& notificationTemplate, const CarInfo& car,
                               const Translator& translate = EnglishText,
                               const QLocale& locale = QLocale::system());

// The reduced substitution of the test messages: only the upper-case "%CAR_INFO%",
// "%CAPACITY%" and "%FUEL%" get fixed sample values; everything else stays as written.
QString ApplySampleValues(const QString& text, const Translator& translate = EnglishText);

// Whole euros as "2500.00 EUR", with the locale's decimal separator and no grouping.
QString FormatPrice(qint64 euros, const QLocale& locale);

// The translated label of a fuel or gearbox code; codes without a label give "Unknown".
QString FuelLabel(int code, const Translator& translate = EnglishText);
QString GearboxLabel(int code, const Translator& translate = EnglishText);

}  // namespace marvolt
