#pragma once

#include <gtest/gtest.h>

#include <QVariant>
#include <memory>
#include <optional>
#include <string>

#include "data/data_module.h"
#include "support/temp_database.h"

namespace marvolt::test {

// The columns of one search task as the task editor stores them; null is std::nullopt.
struct TaskValues {
    int vehicleKind = 0;
    int idMake = 0;
    std::optional<int> idModel = std::nullopt;
    std::optional<QString> model = std::nullopt;
    int taskActive = 1;
    QString registrationFrom = QStringLiteral("2000");
    QString registrationTo = QStringLiteral("2020");
    int mileageFrom = 0, mileageTo = 0;
    int engineFrom = 0, engineTo = 0;
    int priceFrom = 0, priceTo = 0;
    int damaged = 0;
};

int MakeId(const std::string& name);
int ModelId(const std::string& make, const std::string& model);

// A fresh database file per test and a data module opened on it.
class DataTest : public ::testing::Test {
  protected:
    void SetUp() override { data_ = std::make_unique<DataModule>(database_.Path()); }

    DataModule& Data() { return *data_; }
    // Inserts a task the way the task editor does and returns its ID_SCHEDULE.
    int InsertTask(const TaskValues& task);
    // Runs a statement of the test's own and returns the first column of its first row.
    QVariant QueryValue(const QString& sql);

    TempDatabase database_;
    std::unique_ptr<DataModule> data_;
};

}  // namespace marvolt::test
