#include <gtest/gtest.h>

#include <QSqlQuery>
#include <chrono>

#include "app/intake.h"
#include "app/scanner_supervisor.h"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/task_store.h"
#include "scanner/hand_over_queue.h"
#include "support/pass_gate.h"
#include "support/temp_database.h"
#include "support/test_site.h"

namespace marvolt::test {
namespace {

using namespace std::chrono_literals;

// Records what the intake passes on to the channels.
class RecordingDispatch : public NotificationDispatch {
  public:
    void Notify(const CarInfo& car) override { notified.push_back(car.Id); }
    std::vector<std::int32_t> notified;
};

// A database, a site, and scanners supervised by this test's thread, each found vehicle
// taken in by the intake.
class SupervisionTest : public ::testing::Test {
  protected:
    SupervisionTest()
        : data_(database_.Path()),
          supervisor_(handOver_, {site_.BaseUrl(), FastPacing(),
                                  DebugLog([this](std::string_view line) { gate_.OnLog(line); })}),
          intake_(data_, &dispatch_, [this](int idSchedule) { stored_.push_back(idSchedule); }) {}

    ~SupervisionTest() override {
        gate_.Open();
        supervisor_.Shutdown();
    }

    // Every car of the make of the site's cars that tests publish, damaged ones included.
    int AddTask(bool active = true) {
        TaskRecord task;
        task.idMake = car_.makeId;
        task.damaged = 1;
        task.active = active;
        task.registrationFrom = QStringLiteral("0");
        task.registrationTo = QStringLiteral("0");
        return SaveTask(data_.Database(), task);
    }

    void Start() {
        data_.RefreshTasks();
        supervisor_.StartScanners(
            data_, [this](CheckThread&, const CarInfo& car) { intake_.CarFound(car); });
    }

    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 30s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            handOver_.RunPending(2ms);
        }
        return true;
    }

    // Lets every waiting scanner run one later pass and waits until all wait again.
    bool RunOnePass(int scanners = 1) {
        for (int i = 0; i < scanners; ++i) {
            if (!PumpUntil([this] { return gate_.Waiting(); })) {
                return false;
            }
            gate_.Release();
        }
        return PumpUntil([this] { return gate_.Waiting(); });
    }

    std::vector<int> StoredIds(int idSchedule) {
        std::vector<int> ids = data_.KnownIds(idSchedule);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    TempDatabase database_;
    TestSite site_;
    const sim::Listing car_ = site_.SomeCar();
    DataModule data_;
    HandOverQueue handOver_;
    PassGate gate_;
    ScannerSupervisor supervisor_;
    RecordingDispatch dispatch_;
    std::vector<int> stored_;
    Intake intake_;
};

TEST_F(SupervisionTest, OneScannerPerActiveTaskAndStopStopsThemAll) {
    AddTask();
    AddTask(false);
    AddTask();
    Start();
    EXPECT_EQ(supervisor_.RunningCount(), 2);
    EXPECT_EQ(data_.CurrentTaskRow(), 2) << "the walk leaves the cursor on the last task";
    supervisor_.StopScanners();
    EXPECT_EQ(supervisor_.RunningCount(), 0);
    Start();
    EXPECT_EQ(supervisor_.RunningCount(), 2);
}

TEST_F(SupervisionTest, FoundVehicleIsStoredSignalledAndAnnounced) {
    const int task = AddTask();
    Start();
    ASSERT_TRUE(PumpUntil([this] { return gate_.Waiting(); }));

    sim::Listing car = car_;
    car.hasPicture = true;
    const auto withPicture = site_.Publish(car);
    car.hasPicture = false;
    const auto withoutPicture = site_.Publish(car);
    ASSERT_TRUE(RunOnePass());

    EXPECT_EQ(dispatch_.notified, (std::vector<std::int32_t>{withoutPicture.id, withPicture.id}));
    EXPECT_EQ(stored_, (std::vector<int>{task, task}));
    data_.ShowResults(task);
    ASSERT_EQ(data_.Results().size(), 2u);
    for (const ResultRow& row : data_.Results()) {
        EXPECT_EQ(row.carDescription.toStdString(), car.headline);
        if (row.id == withPicture.id) {
            EXPECT_TRUE(row.picture.startsWith("\xFF\xD8")) << "a JPEG";
        } else {
            EXPECT_TRUE(row.picture.isEmpty());
        }
    }
    QSqlQuery blob(data_.Database());
    ASSERT_TRUE(blob.exec(QStringLiteral("SELECT COUNT(*) FROM RESULTS WHERE PICTURE IS NULL")));
    ASSERT_TRUE(blob.next());
    EXPECT_EQ(blob.value(0).toInt(), 0) << "no picture stores an empty blob, not null";
}

TEST_F(SupervisionTest, StoredAndRemovedVehiclesStayKnownAfterARestart) {
    const int task = AddTask();
    CarInfo stored;
    stored.IdSchedule = task;
    stored.Id = 880001;
    data_.InsertResult(stored);
    stored.Id = 880002;
    data_.InsertResult(stored);
    data_.ShowResults(task);
    for (const auto& row : data_.Results()) {
        if (row.id == 880002) {
            data_.RemoveResult(row.idResults);
        }
    }

    Start();
    ASSERT_TRUE(PumpUntil([this] { return gate_.Waiting(); }));
    const sim::Listing car = car_;
    site_.Publish(car, 880001);
    ASSERT_TRUE(RunOnePass());
    site_.Publish(car, 880002);
    ASSERT_TRUE(RunOnePass());
    EXPECT_TRUE(dispatch_.notified.empty());

    // A restart, as after a task change: the new scanner reads its known ids afresh. The old
    // one is let through the gate to notice its stop.
    gate_.Open();
    supervisor_.StopScanners();
    ASSERT_TRUE(PumpUntil([this] { return gate_.Count("Thread TCheckThread stopped") == 1; }));
    gate_.Close();
    const auto fresh = site_.Publish(car);
    Start();
    ASSERT_TRUE(PumpUntil([this] { return gate_.Waiting(); }));
    EXPECT_TRUE(dispatch_.notified.empty()) << "the first pass of the new scanner reports nothing";
    const auto next = site_.Publish(car);
    ASSERT_TRUE(RunOnePass());
    EXPECT_EQ(dispatch_.notified, std::vector<std::int32_t>{next.id});
    EXPECT_EQ(StoredIds(task), (std::vector<int>{880001, 880002, next.id}))
        << fresh.id << " was on the page at the first pass and is not reported";
}

TEST_F(SupervisionTest, StoreFailureReachesTheScannerAndNothingIsAnnounced) {
    AddTask();
    Start();
    ASSERT_TRUE(PumpUntil([this] { return gate_.Waiting(); }));
    sim::Listing car = car_;
    car.headline = std::string(2000, 'x');  // wider than its column
    site_.Publish(car);
    ASSERT_TRUE(RunOnePass());
    EXPECT_TRUE(dispatch_.notified.empty());
    EXPECT_TRUE(stored_.empty());
    EXPECT_TRUE(gate_.Logged("truncation")) << "the database's message is logged by the scanner";
}

TEST_F(SupervisionTest, ShutdownAbortsTransfersAndJoinsWithinASecond) {
    AddTask();
    AddTask();
    gate_.Open();
    // Every search request hangs for twelve seconds.
    site_.Site().SetFault(sim::RequestKind::Search, sim::Fault::Delay, {.probability = 1.0});
    Start();
    std::this_thread::sleep_for(200ms);  // both scanners are inside their first request
    const auto asked = std::chrono::steady_clock::now();
    supervisor_.Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
    EXPECT_EQ(supervisor_.RunningCount(), 0);
}

TEST(TaskValuesOfRow, NullsReadAsZeroAndEmptyAndYearsAsNumbers) {
    TempDatabase database;
    DataModule data(database.Path());
    TaskRecord task;
    task.vehicleKind = 1;
    task.idMake = 1042;
    task.model = QStringLiteral("R 1250 GS");
    task.registrationFrom = QStringLiteral("2005");
    task.registrationTo = QStringLiteral("2010");
    task.country = QStringLiteral("Germany");
    task.zip = QStringLiteral("10115");
    task.radius = 50;
    task.fuel = 2;
    task.priceTo = 15000;
    const int id = SaveTask(data.Database(), task);
    data.RefreshTasks();

    const TaskValues values = TaskValuesOfRow(data.Tasks(), 0);
    EXPECT_EQ(values.idSchedule, id);
    EXPECT_EQ(values.vehicleKind, 1);
    EXPECT_EQ(values.makeId, 1042);
    EXPECT_EQ(values.modelId, 0);  // null
    EXPECT_EQ(values.model, "R 1250 GS");
    EXPECT_EQ(values.registrationFrom, 2005);
    EXPECT_EQ(values.registrationTo, 2010);
    EXPECT_EQ(values.country, "Germany");
    EXPECT_EQ(values.zip, "10115");
    EXPECT_EQ(values.radius, 50);
    EXPECT_EQ(values.fuel, 2);
    EXPECT_EQ(values.transmission, 0);  // null: any gearbox
    EXPECT_EQ(values.doors, 0);
    EXPECT_EQ(values.priceFrom, 0);
    EXPECT_EQ(values.priceTo, 15000);
}

}  // namespace
}  // namespace marvolt::test
