#include "cli/task_options.h"

#include <cstdint>
#include <string>

#include "cli/options.h"

namespace marvolt::cli {

namespace {

// One option per task column: its name, the column, and where its value goes.
struct NumberOption {
    const char16_t* name;
    const char16_t* column;
    std::int32_t TaskValues::*field;
};

struct TextOption {
    const char16_t* name;
    const char16_t* column;
    std::string TaskValues::*field;
};

constexpr NumberOption kNumberOptions[] = {
    {u"task-id", u"ID_SCHEDULE", &TaskValues::idSchedule},
    {u"kind", u"VEHICLE_KIND: 0 cars, 1 motorcycles, 2 trucks", &TaskValues::vehicleKind},
    {u"make", u"ID_MAKE", &TaskValues::makeId},
    {u"model-id", u"ID_MODEL (cars)", &TaskValues::modelId},
    {u"fuel", u"FUEL: 0 any, 1 petrol, 2 diesel, 3 LPG", &TaskValues::fuel},
    {u"damaged", u"DAMAGED: 0 exclude damaged, 1 also damaged, 2 only damaged",
     &TaskValues::damaged},
    {u"transmission", u"TRANSMISSION: 0 any, 1 manual, 2 automatic, 3 semi-automatic",
     &TaskValues::transmission},
    {u"seller-type", u"SELLER_TYPE: 0 any, 1 dealer, 2 private", &TaskValues::sellerType},
    {u"doors", u"DOORS: 0 any, 1 2/3, 2 4/5, 3 6/7", &TaskValues::doors},
    {u"climatisation", u"CLIMATISATION: 0 any, 1 manual or automatic, 2 automatic, 3 none",
     &TaskValues::climatisation},
    {u"power-from", u"POWER_FROM (kW)", &TaskValues::powerFrom},
    {u"power-to", u"POWER_TO (kW)", &TaskValues::powerTo},
    {u"engine-from", u"ENGINE_FROM (cm3)", &TaskValues::engineFrom},
    {u"engine-to", u"ENGINE_TO (cm3)", &TaskValues::engineTo},
    {u"price-from", u"PRICE_FROM", &TaskValues::priceFrom},
    {u"price-to", u"PRICE_TO", &TaskValues::priceTo},
    {u"mileage-from", u"MILEAGE_FROM (km)", &TaskValues::mileageFrom},
    {u"mileage-to", u"MILEAGE_TO (km)", &TaskValues::mileageTo},
    {u"registration-from", u"REGISTRATION_FROM (year)", &TaskValues::registrationFrom},
    {u"registration-to", u"REGISTRATION_TO (year)", &TaskValues::registrationTo},
};

constexpr TextOption kTextOptions[] = {
    {u"model", u"MODEL (other kinds than cars)", &TaskValues::model},
    {u"country", u"COUNTRY, e.g. Germany", &TaskValues::country},
    {u"zip", u"ZIP (sent only with a country)", &TaskValues::zip},
};

QString OptionName(const char16_t* name) {
    return QString::fromUtf16(name);
}

long long WholeNumber(const QCommandLineParser& parser, const QString& name, long long min,
                      long long max) {
    const QString text = parser.value(name);
    bool ok = false;
    const long long value = text.toLongLong(&ok, 10);
    if (!ok || value < min || value > max) {
        throw UsageError("--" + name.toStdString() + " takes a whole number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not \"" +
                         text.toStdString() + "\"");
    }
    return value;
}

}  // namespace

void AddTaskOptions(QCommandLineParser& parser) {
    for (const auto& option : kNumberOptions) {
        parser.addOption({OptionName(option.name), OptionName(option.column),
                          QStringLiteral("NUMBER"), QStringLiteral("0")});
    }
    parser.addOption({QStringLiteral("radius"),
                      QStringLiteral("RADIUS (km, 0 to 65535; sent only with a zip code)"),
                      QStringLiteral("NUMBER"), QStringLiteral("0")});
    for (const auto& option : kTextOptions) {
        parser.addOption(
            {OptionName(option.name), OptionName(option.column), QStringLiteral("TEXT")});
    }
}

TaskValues ReadTaskOptions(const QCommandLineParser& parser) {
    TaskValues task;
    for (const auto& option : kNumberOptions) {
        task.*option.field = static_cast<std::int32_t>(
            WholeNumber(parser, OptionName(option.name), INT32_MIN, INT32_MAX));
    }
    task.radius =
        static_cast<std::uint16_t>(WholeNumber(parser, QStringLiteral("radius"), 0, UINT16_MAX));
    for (const auto& option : kTextOptions) {
        task.*option.field = parser.value(OptionName(option.name)).toStdString();
    }
    return task;
}

}  // namespace marvolt::cli
