#include "data_fixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

#include "db/reference_data.h"

namespace marvolt::test {

namespace {

QVariant Nullable(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Int));
}

QVariant Nullable(const std::optional<QString>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::QString));
}

}  // namespace

int MakeId(const std::string& name) {
    for (const auto& make : ReferenceMakes()) {
        if (make.name == name) {
            return make.id;
        }
    }
    throw std::invalid_argument("no make " + name);
}

int ModelId(const std::string& make, const std::string& model) {
    const int idMake = MakeId(make);
    for (const auto& row : ReferenceModels()) {
        if (row.idMake == idMake && row.name == model) {
            return row.id;
        }
    }
    throw std::invalid_argument("no model " + model);
}

int DataTest::InsertTask(const TaskValues& task) {
    QSqlQuery query(data_->Database());
    query.prepare(QStringLiteral(
        "INSERT INTO SCHEDULE (VEHICLE_KIND, ID_MAKE, ID_MODEL, MODEL, TASK_ACTIVE, "
        "REGISTRATION_FROM, REGISTRATION_TO, MILEAGE_FROM, MILEAGE_TO, ENGINE_FROM, ENGINE_TO, "
        "PRICE_FROM, PRICE_TO, DAMAGED) VALUES (:KIND, :MAKE, :IDMODEL, :MODEL, :ACTIVE, :RF, "
        ":RT, :MF, :MT, :EF, :ET, :PF, :PT, :DAMAGED) RETURNING ID_SCHEDULE"));
    query.bindValue(QStringLiteral(":KIND"), task.vehicleKind);
    query.bindValue(QStringLiteral(":MAKE"), task.idMake);
    query.bindValue(QStringLiteral(":IDMODEL"), Nullable(task.idModel));
    query.bindValue(QStringLiteral(":MODEL"), Nullable(task.model));
    query.bindValue(QStringLiteral(":ACTIVE"), task.taskActive);
    query.bindValue(QStringLiteral(":RF"), task.registrationFrom);
    query.bindValue(QStringLiteral(":RT"), task.registrationTo);
    query.bindValue(QStringLiteral(":MF"), task.mileageFrom);
    query.bindValue(QStringLiteral(":MT"), task.mileageTo);
    query.bindValue(QStringLiteral(":EF"), task.engineFrom);
    query.bindValue(QStringLiteral(":ET"), task.engineTo);
    query.bindValue(QStringLiteral(":PF"), task.priceFrom);
    query.bindValue(QStringLiteral(":PT"), task.priceTo);
    query.bindValue(QStringLiteral(":DAMAGED"), task.damaged);
    if (!query.exec() || !query.next()) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }
    return query.value(0).toInt();
}

QVariant DataTest::QueryValue(const QString& sql) {
    QSqlQuery query(data_->Database());
    if (!query.exec(sql) || !query.next()) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }
    return query.value(0);
}

}  // namespace marvolt::test
