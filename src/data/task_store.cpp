#include "data/task_store.h"

#include <QSqlQuery>

#include "data/statement.h"

namespace marvolt {

namespace {

template <typename T>
QVariant Nullable(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
}

}  // namespace

int SaveTask(const QSqlDatabase& database, const TaskRecord& task) {
    const bool update = task.idSchedule != 0;
    // A new task's id is assigned by the database and returned by the insert.
    Statement save(
        database,
        update ? QStringList{
                     QStringLiteral("UPDATE SCHEDULE SET VEHICLE_KIND=:VEHICLE_KIND, "
                                    "ID_MAKE=:ID_MAKE, ID_MODEL=:ID_MODEL, MODEL=:MODEL, "
                                    "TASK_ACTIVE=:TASK_ACTIVE, "
                                    "REGISTRATION_FROM=:REGISTRATION_FROM, "
                                    "REGISTRATION_TO=:REGISTRATION_TO, SELLER_TYPE=:SELLER_TYPE, "
                                    "DAMAGED=:DAMAGED,"),
                     QStringLiteral("MILEAGE_FROM=:MILEAGE_FROM, MILEAGE_TO=:MILEAGE_TO, "
                                    "TRANSMISSION=:TRANSMISSION, ENGINE_FROM=:ENGINE_FROM, "
                                    "ENGINE_TO=:ENGINE_TO, POWER_FROM=:POWER_FROM, "
                                    "POWER_TO=:POWER_TO, FUEL=:FUEL, PRICE_FROM=:PRICE_FROM, "
                                    "PRICE_TO=:PRICE_TO, COUNTRY=:COUNTRY,"),
                     QStringLiteral("CLIMATISATION=:CLIMATISATION, DOORS=:DOORS, ZIP=:ZIP, "
                                    "RADIUS=:RADIUS"),
                     QStringLiteral("WHERE ID_SCHEDULE=:ID_SCHEDULE"),
                 }
               : QStringList{
                     QStringLiteral("INSERT INTO SCHEDULE (VEHICLE_KIND, ID_MAKE, ID_MODEL, "
                                    "MODEL, TASK_ACTIVE, REGISTRATION_FROM, REGISTRATION_TO, "
                                    "MILEAGE_FROM, MILEAGE_TO, TRANSMISSION, ENGINE_FROM, "
                                    "ENGINE_TO, POWER_FROM, POWER_TO, "),
                     QStringLiteral("FUEL, PRICE_FROM, PRICE_TO, COUNTRY, SELLER_TYPE, DAMAGED, "
                                    "CLIMATISATION, DOORS, ZIP, RADIUS)"),
                     QStringLiteral("VALUES"),
                     QStringLiteral("(:VEHICLE_KIND, :ID_MAKE, :ID_MODEL, :MODEL, :TASK_ACTIVE, "
                                    ":REGISTRATION_FROM, :REGISTRATION_TO, :MILEAGE_FROM, "
                                    ":MILEAGE_TO, :TRANSMISSION, :ENGINE_FROM, :ENGINE_TO, "
                                    ":POWER_FROM, :POWER_TO, "),
                     QStringLiteral(":FUEL, :PRICE_FROM, :PRICE_TO, :COUNTRY, :SELLER_TYPE, "
                                    ":DAMAGED, :CLIMATISATION, :DOORS, :ZIP, :RADIUS) "
                                    "RETURNING ID_SCHEDULE"),
                 });
    save.Bind(QStringLiteral(":VEHICLE_KIND"), task.vehicleKind)
        .Bind(QStringLiteral(":ID_MAKE"), task.idMake)
        .Bind(QStringLiteral(":ID_MODEL"), Nullable(task.idModel))
        .Bind(QStringLiteral(":MODEL"), Nullable(task.model))
        .Bind(QStringLiteral(":TASK_ACTIVE"), task.active ? 1 : 0)
        .Bind(QStringLiteral(":REGISTRATION_FROM"), task.registrationFrom)
        .Bind(QStringLiteral(":REGISTRATION_TO"), task.registrationTo)
        .Bind(QStringLiteral(":MILEAGE_FROM"), task.mileageFrom)
        .Bind(QStringLiteral(":MILEAGE_TO"), task.mileageTo)
        .Bind(QStringLiteral(":TRANSMISSION"), Nullable(task.transmission))
        .Bind(QStringLiteral(":ENGINE_FROM"), task.engineFrom)
        .Bind(QStringLiteral(":ENGINE_TO"), task.engineTo)
        .Bind(QStringLiteral(":POWER_FROM"), task.powerFrom)
        .Bind(QStringLiteral(":POWER_TO"), task.powerTo)
        .Bind(QStringLiteral(":FUEL"), Nullable(task.fuel))
        .Bind(QStringLiteral(":PRICE_FROM"), task.priceFrom)
        .Bind(QStringLiteral(":PRICE_TO"), task.priceTo)
        .Bind(QStringLiteral(":COUNTRY"), Nullable(task.country))
        .Bind(QStringLiteral(":SELLER_TYPE"), Nullable(task.sellerType))
        .Bind(QStringLiteral(":DAMAGED"), task.damaged)
        .Bind(QStringLiteral(":CLIMATISATION"), Nullable(task.climatisation))
        .Bind(QStringLiteral(":DOORS"), Nullable(task.doors))
        .Bind(QStringLiteral(":ZIP"), task.zip.isNull() ? QStringLiteral("") : task.zip)
        .Bind(QStringLiteral(":RADIUS"), task.radius);
    if (update) {
        save.Bind(QStringLiteral(":ID_SCHEDULE"), task.idSchedule);
    }
    save.Run();
    if (update) {
        return task.idSchedule;
    }
    return save.Next() ? save.Value(0).toInt() : 0;
}

bool SetTaskActive(const QSqlDatabase& database, int idSchedule, bool active) {
    Statement update(database, QStringLiteral("UPDATE SCHEDULE SET TASK_ACTIVE=:TASK_ACTIVE "
                                              "WHERE ID_SCHEDULE=:ID_SCHEDULE"));
    update.Bind(QStringLiteral(":TASK_ACTIVE"), active ? 1 : 0)
        .Bind(QStringLiteral(":ID_SCHEDULE"), idSchedule)
        .Run();
    return update.Query().numRowsAffected() > 0;
}

}  // namespace marvolt
