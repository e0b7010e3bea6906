#include <gtest/gtest.h>

#include "data_fixture.h"

namespace marvolt::test {
namespace {

using namespace Qt::StringLiterals;

using TaskListTest = DataTest;

int RowOf(const RowSet& tasks, int idSchedule) {
    for (int row = 0; row < tasks.RowCount(); ++row) {
        if (tasks.Value(row, u"ID_SCHEDULE").toInt() == idSchedule) {
            return row;
        }
    }
    return -1;
}

TEST_F(TaskListTest, DisplayColumnsFollowKindAndRanges) {
    const int audi = MakeId("Audi");
    const int bmw = MakeId("BMW");
    TaskValues carWithModel{.vehicleKind = 0, .idMake = audi, .idModel = ModelId("Audi", "A4")};
    carWithModel.mileageTo = 50000;
    TaskValues carAnyModel{.vehicleKind = 0, .idMake = audi};
    carAnyModel.engineFrom = 1200;
    carAnyModel.engineTo = 2000;
    // A model of another make does not count for this make.
    TaskValues carForeignModel{.vehicleKind = 0, .idMake = audi, .idModel = ModelId("BMW", "X5")};
    carForeignModel.priceFrom = 5000;
    TaskValues bikeWithModel{.vehicleKind = 1, .idMake = bmw, .model = QStringLiteral("R 1250 GS")};
    bikeWithModel.registrationFrom = QStringLiteral("2005");
    bikeWithModel.registrationTo = QStringLiteral("2010");
    TaskValues bikeEmptyModel{.vehicleKind = 1, .idMake = bmw, .model = u""_s};
    TaskValues bikeNullModel{.vehicleKind = 1, .idMake = bmw};

    const struct {
        const char* name;
        TaskValues task;
        QVariant makeModel, registration, mileage, engine, price;
    } cases[] = {
        {"car with model", carWithModel, u"Audi A4"_s, u"2000 - 2020"_s, u"0 km - 50000 km"_s,
         QVariant(), QVariant()},
        {"car, any model", carAnyModel, u"Audi "_s, u"2000 - 2020"_s, QVariant(),
         u"1200 cm3 - 2000 cm3"_s, QVariant()},
        {"car, model of another make", carForeignModel, u"Audi "_s, u"2000 - 2020"_s, QVariant(),
         QVariant(), u"5000 EUR - 0 EUR"_s},
        {"motorcycle with model", bikeWithModel, u"BMW R 1250 GS"_s, u"2005 - 2010"_s, QVariant(),
         QVariant(), QVariant()},
        {"motorcycle, empty model", bikeEmptyModel, u"BMW "_s, u"2000 - 2020"_s, QVariant(),
         QVariant(), QVariant()},
        {"motorcycle, null model", bikeNullModel, QVariant(), u"2000 - 2020"_s, QVariant(),
         QVariant(), QVariant()},
    };
    std::vector<int> ids;
    for (const auto& c : cases) {
        ids.push_back(InsertTask(c.task));
    }
    Data().RefreshTasks();
    const RowSet& tasks = Data().Tasks();
    ASSERT_EQ(tasks.RowCount(), static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const int row = RowOf(tasks, ids[i]);
        ASSERT_GE(row, 0) << c.name;
        const auto expectText = [&](const char16_t* column, const QVariant& expected) {
            const QVariant& actual = tasks.Value(row, QStringView(column));
            if (expected.isNull()) {
                EXPECT_TRUE(actual.isNull())
                    << c.name << " " << QStringView(column).toString().toStdString() << ": "
                    << actual.toString().toStdString();
            } else {
                EXPECT_EQ(actual.toString(), expected.toString())
                    << c.name << " " << QStringView(column).toString().toStdString();
            }
        };
        expectText(u"MAKEMODEL", c.makeModel);
        expectText(u"REGISTRATION", c.registration);
        expectText(u"MILEAGE", c.mileage);
        expectText(u"ENGINE_CAPACITY", c.engine);
        expectText(u"PRICE", c.price);
    }
    // Every SCHEDULE column comes along for the editor and the scanners.
    EXPECT_GE(tasks.ColumnIndex(u"RADIUS"), 0);
    EXPECT_GE(tasks.ColumnIndex(u"TASK_ACTIVE"), 0);
}

TEST_F(TaskListTest, TaskWithUnknownMakeIsNotListed) {
    InsertTask({.idMake = 999999});
    const int known = InsertTask({.idMake = MakeId("Volvo")});
    Data().RefreshTasks();
    ASSERT_EQ(Data().Tasks().RowCount(), 1);
    EXPECT_EQ(Data().CurrentTaskId(), known);
}

TEST_F(TaskListTest, RefreshReturnsToTheCurrentTaskOrTheFirstRow) {
    const int audi = MakeId("Audi");
    InsertTask({.idMake = audi});
    const int second = InsertTask({.idMake = audi});
    InsertTask({.idMake = audi});
    Data().RefreshTasks();
    Data().SetCurrentTaskRow(RowOf(Data().Tasks(), second));
    ASSERT_EQ(Data().CurrentTaskId(), second);

    int reopened = 0;
    QObject::connect(&Data(), &DataModule::tasksReopened, [&] { ++reopened; });
    InsertTask({.idMake = MakeId("Volvo")});
    Data().RefreshTasks();
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(Data().Tasks().RowCount(), 4);
    EXPECT_EQ(Data().CurrentTaskId(), second);

    Data().DeleteTask(second);
    Data().RefreshTasks();
    EXPECT_EQ(reopened, 2);
    EXPECT_EQ(Data().Tasks().RowCount(), 3);
    EXPECT_EQ(Data().CurrentTaskRow(), 0);
}

TEST_F(TaskListTest, EmptyListHasNoCurrentTask) {
    Data().RefreshTasks();
    EXPECT_EQ(Data().CurrentTaskRow(), -1);
    EXPECT_EQ(Data().CurrentTaskId(), 0);
    Data().DeleteTask(12345);  // no such task: nothing happens
    EXPECT_EQ(QueryValue(QStringLiteral("SELECT COUNT(*) FROM SCHEDULE")).toInt(), 0);
}

}  // namespace
}  // namespace marvolt::test
