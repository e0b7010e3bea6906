#pragma once

#include <QString>
#include <optional>

namespace marvolt {

// One search task as the task editor stores it: codes for the coded columns, std::nullopt
// for "Any" (stored as null), the years as the text of their list item.
struct TaskRecord {
    int idSchedule = 0;  // 0 for a task not stored yet
    int vehicleKind = 0;
    int idMake = 0;
    std::optional<int> idModel;    // cars only
    std::optional<QString> model;  // motorcycles and trucks only
    bool active = true;
    QString registrationFrom = QStringLiteral("2013");
    QString registrationTo = QStringLiteral("2013");
    int mileageFrom = 0, mileageTo = 0;
    int engineFrom = 0, engineTo = 0;
    int powerFrom = 0, powerTo = 0;
    int priceFrom = 0, priceTo = 0;
    std::optional<int> fuel;
    std::optional<int> transmission;
    std::optional<int> sellerType;
    int damaged = 0;
    std::optional<int> climatisation;
    std::optional<int> doors;
    std::optional<QString> country;
    QString zip;
    int radius = 100;
};

}  // namespace marvolt
