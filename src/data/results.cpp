// The results of DataModule: the list shown as cards, the known listing ids of a task,
// removal, and the storing of a found vehicle.
#include <QSqlQuery>

#include "data/data_module.h"
#include "data/statement.h"
#include "scanner/car_info.h"

namespace marvolt {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every value of a nullable column read as 0 or an empty text when null.
ResultRow ReadResultRow(const QSqlQuery& query) {
    ResultRow row;
    row.idResults = query.value(0).toInt();
    row.idSchedule = query.value(1).toInt();
    row.carDescription = query.value(2).toString();
    // Text blobs arrive as their UTF-8 bytes.
    row.features = QString::fromUtf8(query.value(3).toByteArray());
    row.dealer = QString::fromUtf8(query.value(4).toByteArray());
    row.description = QString::fromUtf8(query.value(5).toByteArray());
    row.engineCapacity = query.value(6).toInt();
    row.constructionYear = query.value(7).toInt();
    row.firstRegistration = query.value(8).toString();
    row.mileage = query.value(9).toInt();
    row.price = query.value(10).toInt();
    row.id = query.value(11).toInt();
    row.transmission = query.value(12).toInt();
    row.fuel = query.value(13).toInt();
    row.dateAdded = query.value(14).toDateTime();
    row.picture = query.value(15).toByteArray();
    // The driver reads a blob into a buffer of at least 32 KB; keep only the picture's bytes.
    row.picture.squeeze();
    row.power = query.value(16).toInt();
    row.climatisation = query.value(17).toInt();
    row.doors = query.value(18).toInt();
    return row;
}

}  // namespace

void DataModule::OpenResults(const QString& statement, int idSchedule) {
    Statement query(database_, statement);
    if (idSchedule > 0) {
        query.Bind(QStringLiteral(":id_schedule"), idSchedule);
    }
    // Like a closed and reopened query, the list is empty while it is read again, so the old
    // and the new rows never take memory at the same time.
    results_.clear();
    results_.shrink_to_fit();
    resultsStatement_ = statement;
    query.Run();
    while (query.Next()) {
        results_.push_back(ReadResultRow(query.Query()));
    }
}

void DataModule::ShowResults(int idSchedule) {
    QString statement = QStringLiteral(
        "select r.id_results, r.id_schedule,  r.car_description,  r.features,  r.dealer, "
        "r.description, r.engine_capacity, r.CONSTRUCTION_YEAR, r.first_registration,  "
        "r.mileage, r.price, r.id, r.transmission, r.fuel, r.DATE_ADDED, r.picture, "
        "r.power,r.climatisation, r.doors from results r join schedule s on (s.ID_SCHEDULE = "
        "r.ID_SCHEDULE) where coalesce(deleted,0)=0");
    if (idSchedule > 0) {
        statement += QStringLiteral("\n and s.id_schedule=:id_schedule");
    }
    OpenResults(statement, idSchedule);
}

std::vector<int> DataModule::KnownIds(int idSchedule) {
    Statement query(database_,
                    QStringLiteral("select r.id from results r where id_schedule=:id_schedule"));
    query.Bind(QStringLiteral(":id_schedule"), idSchedule).Run();
    std::vector<int> ids;
    while (query.Next()) {
        ids.push_back(query.Value(0).toInt());
    }
    return ids;
}

void DataModule::RemoveResult(int idResults) {
    Statement(database_,
              QStringLiteral("UPDATE RESULTS SET DELETED =1 WHERE ID_RESULTS=:ID_RESULTS"))
        .Bind(QStringLiteral(":ID_RESULTS"), idResults)
        .Run();
}

void DataModule::InsertResult(const CarInfo& car) {
    Statement insert(
        database_,
        QStringList{
            QStringLiteral("INSERT INTO RESULTS (ID, ID_SCHEDULE, FEATURES, DEALER, PRICE, POWER, "
                           "MILEAGE, FUEL, FIRST_REGISTRATION, TRANSMISSION, CONSTRUCTION_YEAR, "
                           "ENGINE_CAPACITY, DESCRIPTION, CAR_DESCRIPTION, DAMAGED, PICTURE, "
                           "CLIMATISATION, DOORS)"),
            QStringLiteral("VALUES "),
            QStringLiteral("(:ID, :ID_SCHEDULE, :FEATURES, :DEALER, :PRICE, :POWER, :MILEAGE, "
                           ":FUEL, :FIRST_REGISTRATION, :TRANSMISSION, :CONSTRUCTION_YEAR, "
                           ":ENGINE_CAPACITY, :DESCRIPTION, :CAR_DESCRIPTION, :DAMAGED, :PICTURE, "
                           ":CLIMATISATION, :DOORS)"),
        });
    // A non-null empty array, so a vehicle without a picture stores an empty blob, not null.
    const QByteArray picture =
        car.Picture.empty()
            ? QByteArray("", 0)
            : QByteArray(car.Picture.data(), static_cast<qsizetype>(car.Picture.size()));
    insert.Bind(QStringLiteral(":ID"), car.Id)
        .Bind(QStringLiteral(":ID_SCHEDULE"), car.IdSchedule)
        .Bind(QStringLiteral(":FEATURES"), FromUtf8(car.Features))
        .Bind(QStringLiteral(":DEALER"), FromUtf8(car.Dealer))
        .Bind(QStringLiteral(":PRICE"), car.Price)
        .Bind(QStringLiteral(":MILEAGE"), car.Mileage)
        .Bind(QStringLiteral(":FUEL"), int{car.Fuel})
        .Bind(QStringLiteral(":FIRST_REGISTRATION"), FromUtf8(car.FirstRegistration))
        .Bind(QStringLiteral(":TRANSMISSION"), int{car.Transmission})
        .Bind(QStringLiteral(":CONSTRUCTION_YEAR"), car.ConstructionYear)
        .Bind(QStringLiteral(":ENGINE_CAPACITY"), car.EngineCapacity)
        .Bind(QStringLiteral(":DESCRIPTION"), FromUtf8(car.Description))
        .Bind(QStringLiteral(":CAR_DESCRIPTION"), FromUtf8(car.CarDescription))
        .Bind(QStringLiteral(":DAMAGED"), car.Damaged ? 1 : 0)
        .Bind(QStringLiteral(":PICTURE"), picture)
        .Bind(QStringLiteral(":POWER"), car.Power)
        .Bind(QStringLiteral(":CLIMATISATION"), int{car.Climatisation})
        .Bind(QStringLiteral(":DOORS"), int{car.Doors})
        .Run();
}

}  // namespace marvolt
