#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>

#include "data/database_error.h"
#include "data_fixture.h"
#include "scanner/car_info.h"

namespace marvolt::test {
namespace {

using ResultsTest = DataTest;

CarInfo SampleCar(int idSchedule, int id) {
    CarInfo car;
    car.IdSchedule = idSchedule;
    car.Id = id;
    car.CarDescription = "Audi A4 Avant 2.0 TDI";
    car.Price = 12500;
    car.Fuel = 2;
    car.Transmission = 1;
    car.FirstRegistration = "03/2012";
    car.Mileage = 125000;
    car.Description = "Well kept.\r\nFull service history.";
    car.Dealer = "Autohaus Example\r\nBerlin, Germany";
    car.Features = "ABS, ESP, Alloy wheels";
    car.ConstructionYear = 2011;
    car.SellerCountry = "Germany";
    car.EngineCapacity = 1968;
    car.SellerType = 1;
    car.Damaged = true;
    car.Picture = std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11);
    car.PictureUrl = "http://127.0.0.1:8080/pictures/1.jpg";
    car.Power = 105;
    car.Climatisation = 2;
    car.Doors = 2;
    return car;
}

// The stored row as the database holds it, every column by name.
QSqlRecord StoredRow(DataModule& data, int id, int idSchedule) {
    QSqlQuery query(data.Database());
    query.prepare(
        QStringLiteral("SELECT r.*, r.PICTURE IS NULL AS PICTURE_NULL, OCTET_LENGTH(r.PICTURE) "
                       "AS PICTURE_SIZE FROM RESULTS r WHERE ID = :ID AND ID_SCHEDULE = :S"));
    query.bindValue(QStringLiteral(":ID"), id);
    query.bindValue(QStringLiteral(":S"), idSchedule);
    EXPECT_TRUE(query.exec());
    EXPECT_TRUE(query.next());
    QSqlRecord record = query.record();
    EXPECT_FALSE(query.next()) << "more than one row";
    return record;
}

std::string Text(const QSqlRecord& record, const char* column) {
    const QVariant value = record.value(QLatin1String(column));
    return (value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray())
                                                    : value.toString())
        .toStdString();
}

TEST_F(ResultsTest, InsertResultStoresEveryColumn) {
    const int task = InsertTask({.idMake = MakeId("Audi")});
    const CarInfo car = SampleCar(task, 4711);
    Data().InsertResult(car);

    const QSqlRecord row = StoredRow(Data(), 4711, task);
    EXPECT_EQ(Text(row, "CAR_DESCRIPTION"), car.CarDescription);
    EXPECT_EQ(row.value(QStringLiteral("PRICE")).toInt(), car.Price);
    EXPECT_EQ(row.value(QStringLiteral("FUEL")).toInt(), car.Fuel);
    EXPECT_EQ(row.value(QStringLiteral("TRANSMISSION")).toInt(), car.Transmission);
    EXPECT_EQ(Text(row, "FIRST_REGISTRATION"), car.FirstRegistration);
    EXPECT_EQ(row.value(QStringLiteral("MILEAGE")).toInt(), car.Mileage);
    EXPECT_EQ(Text(row, "DESCRIPTION"), car.Description);
    EXPECT_EQ(Text(row, "DEALER"), car.Dealer);
    EXPECT_EQ(Text(row, "FEATURES"), car.Features);
    EXPECT_EQ(row.value(QStringLiteral("CONSTRUCTION_YEAR")).toInt(), car.ConstructionYear);
    EXPECT_EQ(row.value(QStringLiteral("ENGINE_CAPACITY")).toInt(), car.EngineCapacity);
    EXPECT_EQ(row.value(QStringLiteral("POWER")).toInt(), car.Power);
    EXPECT_EQ(row.value(QStringLiteral("CLIMATISATION")).toInt(), car.Climatisation);
    EXPECT_EQ(row.value(QStringLiteral("DOORS")).toInt(), car.Doors);
    EXPECT_EQ(row.value(QStringLiteral("DAMAGED")).toInt(), 1);
    EXPECT_EQ(row.value(QStringLiteral("PICTURE")).toByteArray().toStdString(), car.Picture);
    // Left to the database: the row id, the insert time, and no removal mark.
    EXPECT_GT(row.value(QStringLiteral("ID_RESULTS")).toInt(), 0);
    const QDateTime added = row.value(QStringLiteral("DATE_ADDED")).toDateTime();
    EXPECT_LE(std::abs(added.secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_TRUE(row.value(QStringLiteral("DELETED")).isNull());
}

TEST_F(ResultsTest, MissingPictureAndUnrecognisedCodesStoreEmptyBlobAndZeros) {
    const int task = InsertTask({.idMake = MakeId("Audi")});
    CarInfo car;
    car.IdSchedule = task;
    car.Id = 1;
    Data().InsertResult(car);

    const QSqlRecord row = StoredRow(Data(), 1, task);
    EXPECT_FALSE(row.value(QStringLiteral("PICTURE_NULL")).toBool());
    EXPECT_EQ(row.value(QStringLiteral("PICTURE_SIZE")).toInt(), 0);
    for (const char* column : {"FUEL", "TRANSMISSION", "CLIMATISATION", "DOORS", "DAMAGED"}) {
        EXPECT_EQ(row.value(QLatin1String(column)).toInt(), 0) << column;
        EXPECT_FALSE(row.value(QLatin1String(column)).isNull()) << column;
    }
}

TEST_F(ResultsTest, UnicodeTextsRoundTripIncludingAstralCharacters) {
    const int task = InsertTask({.idMake = MakeId("Audi")});
    CarInfo car = SampleCar(task, 77);
    car.CarDescription = "Škoda Octavia 🚗 Ünïcødé";
    car.Features = "Sitzheizung, Klimaautomatik, €-Preis, 𝔘𝔫𝔦𝔠𝔬𝔡𝔢";
    car.Dealer = "Zażółć gęślą jaźń 😀\r\nWarszawa, Poland";
    car.Description = "日本語の説明 🏎️";
    car.FirstRegistration = "03/2012 ✓";
    // Four-byte characters up to near the column's width must fit too.
    for (int i = 0; i < 90; ++i) {
        car.FirstRegistration += "😀";
    }
    Data().InsertResult(car);

    Data().ShowResults(task);
    ASSERT_EQ(Data().Results().size(), 1u);
    const ResultRow& row = Data().Results().front();
    EXPECT_EQ(row.carDescription.toStdString(), car.CarDescription);
    EXPECT_EQ(row.features.toStdString(), car.Features);
    EXPECT_EQ(row.dealer.toStdString(), car.Dealer);
    EXPECT_EQ(row.description.toStdString(), car.Description);
    EXPECT_EQ(row.firstRegistration.toStdString(), car.FirstRegistration);
    EXPECT_EQ(row.picture.toStdString(), car.Picture);
    EXPECT_EQ(row.price, car.Price);
    EXPECT_EQ(row.id, car.Id);
}

TEST_F(ResultsTest, ShowResultsHidesRemovedRowsAndRowsOfDeletedTasks) {
    const int kept = InsertTask({.idMake = MakeId("Audi")});
    const int other = InsertTask({.idMake = MakeId("BMW")});
    const int deleted = InsertTask({.idMake = MakeId("Volvo")});
    // One listing found by two tasks is stored once per task.
    Data().InsertResult(SampleCar(kept, 100));
    Data().InsertResult(SampleCar(other, 100));
    Data().InsertResult(SampleCar(kept, 101));
    Data().InsertResult(SampleCar(deleted, 102));
    Data().InsertResult(SampleCar(kept, 103));
    Data().DeleteTask(deleted);

    Data().ShowResults(kept);
    const int removed = Data().Results().at(1).idResults;
    Data().RemoveResult(removed);
    Data().RemoveResult(999999);  // no such row: nothing happens

    const auto listed = [&](int idSchedule) {
        Data().ShowResults(idSchedule);
        std::vector<std::pair<int, int>> rows;  // (task, listing)
        for (const auto& row : Data().Results()) {
            EXPECT_NE(row.idResults, removed);
            rows.emplace_back(row.idSchedule, row.id);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    const auto all = listed(0);
    EXPECT_EQ(all.size(), 3u);
    for (const auto& [task, id] : all) {
        EXPECT_NE(task, deleted);
    }
    EXPECT_EQ(listed(kept).size(), 2u);
    EXPECT_EQ(listed(other), (std::vector<std::pair<int, int>>{{other, 100}}));
    EXPECT_TRUE(listed(deleted).empty());
    EXPECT_NE(Data().ResultsStatement().indexOf(QStringLiteral(":id_schedule")), -1);
    Data().ShowResults(0);
    EXPECT_EQ(Data().ResultsStatement().indexOf(QStringLiteral(":id_schedule")), -1);
    // The row stays in the table, marked.
    EXPECT_EQ(
        QueryValue(QStringLiteral("SELECT DELETED FROM RESULTS WHERE ID_RESULTS = %1").arg(removed))
            .toInt(),
        1);
    EXPECT_EQ(QueryValue(QStringLiteral("SELECT COUNT(*) FROM RESULTS")).toInt(), 5);
}

TEST_F(ResultsTest, ListAtStartShowsResultsOfDeletedTasksButNotRemovedOnes) {
    const int task = InsertTask({.idMake = MakeId("Audi")});
    Data().InsertResult(SampleCar(task, 1));
    Data().InsertResult(SampleCar(task, 2));
    Data().DeleteTask(task);
    Data().ShowResults(0);
    EXPECT_TRUE(Data().Results().empty());

    DataModule reopened(database_.Path());
    ASSERT_EQ(reopened.Results().size(), 2u);
    reopened.RemoveResult(reopened.Results().front().idResults);
    DataModule again(database_.Path());
    EXPECT_EQ(again.Results().size(), 1u);
}

TEST_F(ResultsTest, KnownIdsIncludeRemovedResultsOfThatTaskOnly) {
    const int task = InsertTask({.idMake = MakeId("Audi")});
    const int other = InsertTask({.idMake = MakeId("BMW")});
    for (int id : {10, 20, 30}) {
        Data().InsertResult(SampleCar(task, id));
    }
    Data().InsertResult(SampleCar(other, 40));
    Data().ShowResults(task);
    for (const auto& row : Data().Results()) {
        Data().RemoveResult(row.idResults);
    }
    std::vector<int> known = Data().KnownIds(task);
    std::sort(known.begin(), known.end());
    EXPECT_EQ(known, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(Data().KnownIds(other), std::vector<int>{40});
    EXPECT_TRUE(Data().KnownIds(999).empty());
}

TEST_F(ResultsTest, RejectedStatementRaisesTheDatabaseMessageAndLeavesNoStatement) {
    const int task = InsertTask({.idMake = MakeId("Audi")});
    const QString countStatements = QStringLiteral(
        "SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
    const int before = QueryValue(countStatements).toInt();

    CarInfo car = SampleCar(task, 5);
    car.FirstRegistration = std::string(500, 'x');  // wider than its column
    try {
        Data().InsertResult(car);
        FAIL() << "the database accepted an oversized value";
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("truncation"), std::string::npos) << error.what();
    }
    EXPECT_EQ(QueryValue(countStatements).toInt(), before);
    EXPECT_EQ(QueryValue(QStringLiteral("SELECT COUNT(*) FROM RESULTS")).toInt(), 0);
    // The module goes on working after the failure.
    Data().InsertResult(SampleCar(task, 6));
    EXPECT_EQ(Data().KnownIds(task), std::vector<int>{6});
}

}  // namespace
}  // namespace marvolt::test
