// A separate process for the tests that need one: it opens a database, optionally stores a
// found vehicle and a setting, prints "ready" and waits to be killed.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <thread>

#include "data/data_module.h"
#include "scanner/car_info.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: data_writer DATABASE hold|write\n", stderr);
        return 2;
    }
    try {
        marvolt::DataModule data(arguments[1]);
        if (arguments[2] == QLatin1String("write")) {
            marvolt::CarInfo car;
            car.IdSchedule = 1;
            car.Id = 424242;
            car.CarDescription = "Written before the kill";
            data.InsertResult(car);
            data.Settings().WriteSetting(QStringLiteral("WrittenBeforeKill"), true);
        }
        std::puts("ready");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::minutes(5));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
