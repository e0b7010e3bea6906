#include "app/scanner_supervisor.h"

#include <algorithm>

#include "data/data_module.h"
#include "scanner/task_hand_over.h"

namespace marvolt {

namespace {

int IntOf(const RowSet& tasks, int row, QStringView column) {
    return tasks.Value(row, column).toInt();  // null and non-numbers read as 0
}

std::string TextOf(const RowSet& tasks, int row, QStringView column) {
    return tasks.Value(row, column).toString().toStdString();
}

}  // namespace

TaskValues TaskValuesOfRow(const RowSet& tasks, int row) {
    TaskValues task;
    task.idSchedule = IntOf(tasks, row, u"ID_SCHEDULE");
    task.vehicleKind = IntOf(tasks, row, u"VEHICLE_KIND");
    task.makeId = IntOf(tasks, row, u"ID_MAKE");
    task.modelId = IntOf(tasks, row, u"ID_MODEL");
    task.model = TextOf(tasks, row, u"MODEL");
    task.fuel = IntOf(tasks, row, u"FUEL");
    task.damaged = IntOf(tasks, row, u"DAMAGED");
    task.transmission = IntOf(tasks, row, u"TRANSMISSION");
    task.sellerType = IntOf(tasks, row, u"SELLER_TYPE");
    task.country = TextOf(tasks, row, u"COUNTRY");
    task.zip = TextOf(tasks, row, u"ZIP");
    task.radius = static_cast<std::uint16_t>(IntOf(tasks, row, u"RADIUS"));
    task.doors = IntOf(tasks, row, u"DOORS");
    task.climatisation = IntOf(tasks, row, u"CLIMATISATION");
    task.powerFrom = IntOf(tasks, row, u"POWER_FROM");
    task.powerTo = IntOf(tasks, row, u"POWER_TO");
    task.engineFrom = IntOf(tasks, row, u"ENGINE_FROM");
    task.engineTo = IntOf(tasks, row, u"ENGINE_TO");
    task.priceFrom = IntOf(tasks, row, u"PRICE_FROM");
    task.priceTo = IntOf(tasks, row, u"PRICE_TO");
    task.mileageFrom = IntOf(tasks, row, u"MILEAGE_FROM");
    task.mileageTo = IntOf(tasks, row, u"MILEAGE_TO");
    task.registrationFrom = IntOf(tasks, row, u"REGISTRATION_FROM");
    task.registrationTo = IntOf(tasks, row, u"REGISTRATION_TO");
    return task;
}

ScannerSupervisor::ScannerSupervisor(HandOver& handOver, Options options)
    : handOver_(handOver), options_(std::move(options)) {}

ScannerSupervisor::~ScannerSupervisor() {
    Shutdown();
}

void ScannerSupervisor::StartScanners(DataModule& data,
                                      const CheckThread::CarFoundHandler& onCarFound) {
    ClearFinished();
    const RowSet& tasks = data.Tasks();
    for (int row = 0; row < tasks.RowCount(); ++row) {
        if (IntOf(tasks, row, u"TASK_ACTIVE") != 1) {
            continue;
        }
        const TaskValues task = TaskValuesOfRow(tasks, row);
        auto scanner = std::make_unique<CheckThread>(options_.siteBaseUrl, handOver_, options_.log,
                                                     options_.pacing);
        for (const int id : data.KnownIds(task.idSchedule)) {
            scanner->AddKnownId(id);
        }
        scanner->SetOnCarFound(onCarFound);
        HandOverTask(task, scanner->Search());
        scanner->Start();
        const std::lock_guard lock(scannersLock_);
        scanners_.push_back(std::move(scanner));
    }
    // The walk over the list leaves its cursor on the last task.
    data.SetCurrentTaskRow(tasks.RowCount() - 1);
}

void ScannerSupervisor::StopScanners() {
    const std::lock_guard lock(scannersLock_);
    for (auto& scanner : scanners_) {
        scanner->RequestStop();
        stopping_.push_back(std::move(scanner));
    }
    scanners_.clear();
}

void ScannerSupervisor::Shutdown() {
    handOver_.Close();
    const std::lock_guard lock(scannersLock_);
    for (auto& scanner : scanners_) {
        stopping_.push_back(std::move(scanner));
    }
    scanners_.clear();
    // Abort all first, so the threads end side by side rather than one after another.
    for (const auto& scanner : stopping_) {
        scanner->Abort();
    }
    stopping_.clear();  // each destructor joins its thread
}

int ScannerSupervisor::RunningCount() const {
    const std::lock_guard lock(scannersLock_);
    return static_cast<int>(scanners_.size());
}

void ScannerSupervisor::ClearFinished() {
    const std::lock_guard lock(scannersLock_);
    std::erase_if(stopping_, [](const auto& scanner) { return scanner->Finished(); });
}

}  // namespace marvolt
