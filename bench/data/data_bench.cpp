// Throughput of the data store on a real database file: storing found vehicles with their
// pictures, and loading the results list over many rows. Peak memory is reported as the
// process's high-water mark after each benchmark.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>

#include "data/data_module.h"
#include "data/database_file.h"
#include "scanner/car_info.h"

namespace {

using marvolt::CarInfo;
using marvolt::DataModule;

// Starts a new high-water mark, so set-up work does not count towards what is measured.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

double PeakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

CarInfo Vehicle(int idSchedule, int id, std::size_t pictureBytes) {
    CarInfo car;
    car.IdSchedule = idSchedule;
    car.Id = id;
    car.CarDescription = "Volkswagen Golf 1.6 TDI Comfortline " + std::to_string(id);
    car.Price = 9000 + id % 5000;
    car.Mileage = 100000 + id % 90000;
    car.FirstRegistration = "05/2014";
    car.Description = std::string(1500, 'd');
    car.Dealer = "Autohaus Beispiel GmbH\r\nHauptstrasse 1\r\n10115 Berlin, Germany";
    car.Features = "ABS, ESP, Navigation system, Parking sensors, Alloy wheels";
    car.Fuel = 2;
    car.Transmission = 1;
    car.Picture.assign(pictureBytes, static_cast<char>(id & 0xFF));
    return car;
}

struct Database {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("MARVOLT.FDB"));
    Database() { marvolt::CreateDatabaseFile(path); }
};

// One found vehicle stored per iteration, each committed as it is made.
void BM_InsertResult(benchmark::State& state) {
    Database database;
    DataModule data(database.path);
    ResetPeakResident();
    const auto pictureBytes = static_cast<std::size_t>(state.range(0));
    int id = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const CarInfo car = Vehicle(1, ++id, pictureBytes);
        state.ResumeTiming();
        data.InsertResult(car);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pictureBytes));
    state.counters["peak_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_InsertResult)->Arg(50 * 1024)->Iterations(10000)->Unit(benchmark::kMicrosecond);

// Loads the results list of all tasks over `rows` stored vehicles with pictures of the
// given size; the rows are written once, a thousand per transaction, before timing starts.
void BM_ShowResults(benchmark::State& state) {
    Database database;
    const int rows = static_cast<int>(state.range(0));
    const auto pictureBytes = static_cast<std::size_t>(state.range(1));
    DataModule data(database.path);
    {
        QSqlQuery schedule(data.Database());
        schedule.exec(QStringLiteral(
            "INSERT INTO SCHEDULE (VEHICLE_KIND, ID_MAKE, REGISTRATION_FROM, REGISTRATION_TO) "
            "VALUES (0, 1028, '2000', '2020')"));
        QSqlDatabase handle = data.Database();
        for (int id = 1; id <= rows; ++id) {
            if (id % 1000 == 1) {
                handle.transaction();
            }
            data.InsertResult(Vehicle(1, id, pictureBytes));
            if (id % 1000 == 0 || id == rows) {
                handle.commit();
            }
        }
    }
    ResetPeakResident();
    for (auto _ : state) {
        data.ShowResults(0);
        if (static_cast<int>(data.Results().size()) != rows) {
            state.SkipWithError("the results list lost rows");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["peak_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_ShowResults)
    ->Args({100000, 1024})
    ->Args({10000, 50 * 1024})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
