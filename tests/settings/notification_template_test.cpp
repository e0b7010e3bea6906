// Filling notification templates with a found vehicle, and the test messages' sample values.
#include "settings/notification_template.h"

#include <gtest/gtest.h>

#include <functional>

#include "scanner/car_info.h"
#include "support/qt_print.h"

namespace marvolt {
namespace {

CarInfo SampleCar() {
    CarInfo car;
    car.Id = 123456;
    car.EngineCapacity = 1968;
    car.ConstructionYear = 2015;
    car.Features = "ABS, ESP";
    car.Fuel = 2;
    car.Mileage = 145000;
    car.Description = "Well kept";
    car.CarDescription = "VW Golf 2.0 TDI";
    car.Price = 12500;
    car.Transmission = 1;
    car.FirstRegistration = "03/2015";
    car.Dealer = "Auto Nord\r\nHamburg";
    return car;
}

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

QString Tagged(const char* text) {
    return QStringLiteral("[de]") + QString::fromUtf8(text);
}

TEST(FormatNotificationTextTest, ReplacesPlaceholdersByTheOrderingRules) {
    struct Case {
        const char* name;
        const char* notificationTemplate;
        std::function<void(CarInfo&)> change;
        const char* expected;
    };
    const auto same = [](CarInfo&) {};
    const Case cases[] = {
        {"no placeholder", "Nothing to fill\n100% sure", same, "Nothing to fill\n100% sure"},
        {"every placeholder",
         "%ID%|%CAPACITY%|%CONSTRUCTION_YEAR%|%FEATURES%|%FUEL%|%MILEAGE%|%DESCRIPTION%|"
         "%CAR_INFO%|%PRICE%|%GEARBOX%|%FIRST_REGISTRATION%|%SELLER%",
         same,
         "123456|1968|2015|ABS, ESP|Diesel|145000|Well kept|VW Golf 2.0 TDI|12500.00 EUR|Manual|"
         "03/2015|Auto Nord\r\nHamburg"},
        {"letter case ignored", "%price% %Price% %pRiCe%", same,
         "12500.00 EUR 12500.00 EUR 12500.00 EUR"},
        {"three times", "%ID%-%ID%-%ID%", same, "123456-123456-123456"},
        {"adjacent", "%ID%%ID%", same, "123456123456"},
        {"no overlap", "%%ID%%", same, "%123456%"},
        {"unknown word and lone percent signs stay", "%COLOR% % %ID", same, "%COLOR% % %ID"},
        {"only the seller", "%SELLER%", same, "Auto Nord\r\nHamburg"},
        {"lines of the template kept", "a\r\n%ID%\nb", same, "a\r\n123456\nb"},
        {"a later placeholder in a value is filled", "%DESCRIPTION%",
         [](CarInfo& c) { c.Description = "Call %SELLER% about %price%"; },
         "Call Auto Nord\r\nHamburg about 12500.00 EUR"},
        {"an earlier placeholder in a value stays", "%SELLER%",
         [](CarInfo& c) { c.Dealer = "Ask for %ID% or %CAR_INFO%"; }, "Ask for %ID% or %CAR_INFO%"},
        {"a value is not searched for its own placeholder", "%CAR_INFO% and %CAR_INFO%",
         [](CarInfo& c) { c.CarDescription = "x%CAR_INFO%y"; }, "x%CAR_INFO%y and x%CAR_INFO%y"},
        {"only ASCII letters match without case", "%FEATURE\u017F% %FEATURES%", same,
         "%FEATURE\u017F% ABS, ESP"},
        {"empty texts give empty values", "[%DESCRIPTION%][%SELLER%]",
         [](CarInfo& c) {
             c.Description.clear();
             c.Dealer.clear();
         },
         "[][]"},
        {"price 0", "%PRICE%", [](CarInfo& c) { c.Price = 0; }, "0.00 EUR"},
        {"no digit grouping", "%PRICE% %MILEAGE%",
         [](CarInfo& c) {
             c.Price = 1234567;
             c.Mileage = 1000000;
         },
         "1234567.00 EUR 1000000"},
        {"negative numbers", "%PRICE% %MILEAGE%",
         [](CarInfo& c) {
             c.Price = -5;
             c.Mileage = -1;
         },
         "-5.00 EUR -1"},
        {"codes 0 and out of range are Unknown", "%FUEL%/%GEARBOX%",
         [](CarInfo& c) {
             c.Fuel = 0;
             c.Transmission = 9;
         },
         "Unknown/Unknown"},
        {"last labels", "%FUEL%/%GEARBOX%",
         [](CarInfo& c) {
             c.Fuel = 3;
             c.Transmission = 3;
         },
         "LPG/Semi-automatic"},
        {"non-ASCII text as held", "%CAR_INFO%",
         [](CarInfo& c) { c.CarDescription = "Škoda Octavia – żółta"; }, "Škoda Octavia – żółta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CarInfo car = SampleCar();
        c.change(car);
        const CarInfo before = car;
        EXPECT_EQ(FormatNotificationText(QString::fromUtf8(c.notificationTemplate), car,
                                         EnglishText, kEnglish),
                  QString::fromUtf8(c.expected));
        EXPECT_EQ(car.Description, before.Description);  // the record is left alone
    }
}

TEST(FormatNotificationTextTest, PriceUsesTheLocalesDecimalSeparator) {
    const CarInfo car = SampleCar();
    EXPECT_EQ(FormatNotificationText(QStringLiteral("%PRICE%"), car, EnglishText, kGerman),
              QStringLiteral("12500,00 EUR"));
    EXPECT_EQ(FormatPrice(0, kGerman), QStringLiteral("0,00 EUR"));
    EXPECT_EQ(FormatPrice(2500, kEnglish), QStringLiteral("2500.00 EUR"));
}

TEST(FormatNotificationTextTest, LabelsAndTheDefaultPassThroughTheTranslation) {
    const CarInfo car = SampleCar();
    EXPECT_EQ(FormatNotificationText(QStringLiteral("%FUEL% %GEARBOX%"), car, Tagged, kEnglish),
              QStringLiteral("[de]Diesel [de]Manual"));
    EXPECT_EQ(FuelLabel(42, Tagged), QStringLiteral("[de]Unknown"));
    EXPECT_EQ(
        DefaultNotificationTemplate(Tagged),
        QStringLiteral("[de]New car %CAR_INFO% found. Capacity: %CAPACITY% cm3, Fuel: %FUEL%"));
    EXPECT_EQ(FormatNotificationText(DefaultNotificationTemplate(), car, EnglishText, kEnglish),
              QStringLiteral("New car VW Golf 2.0 TDI found. Capacity: 1968 cm3, Fuel: Diesel"));
}

TEST(ApplySampleValuesTest, FillsOnlyTheUpperCaseSamplePlaceholders) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"%CAR_INFO%|%CAPACITY%|%FUEL%", "BMW 325 Ci|2500|[de]Petrol"},
        {"%car_info% %Fuel% %capacity%", "%car_info% %Fuel% %capacity%"},
        {"%PRICE% %ID% %CONSTRUCTION_YEAR% %SELLER%", "%PRICE% %ID% %CONSTRUCTION_YEAR% %SELLER%"},
        {"%FUEL%%FUEL%", "[de]Petrol[de]Petrol"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ApplySampleValues(QString::fromUtf8(c.text), Tagged),
                  QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(ApplySampleValues(DefaultNotificationTemplate()),
              QStringLiteral("New car BMW 325 Ci found. Capacity: 2500 cm3, Fuel: Petrol"));
}

}  // namespace
}  // namespace marvolt
