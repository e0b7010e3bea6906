// `marvolt run`: headless scanning for a machine without a desktop. Every active task gets
// its scanner; every found vehicle is stored, printed and announced through the SMS and
// e-mail channels that the settings switch on. SIGINT or SIGTERM ends it cleanly.
#include <csignal>
#include <cstdio>

#include "app/intake.h"
#include "app/notification_channels.h"
#include "app/scanner_supervisor.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "data/data_module.h"
#include "scanner/car_info.h"
#include "scanner/hand_over_queue.h"
#include "settings/deployment_config.h"

namespace marvolt::cli {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void OnStopSignal(int signal) {
    stopSignal = signal;
}

void CatchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void PrintFound(const CarInfo& car) {
    Print(QStringLiteral("task %1\tlisting %2\t%3\t%4 EUR\n")
              .arg(car.IdSchedule)
              .arg(car.Id)
              .arg(QString::fromStdString(car.CarDescription))
              .arg(car.Price));
    std::fflush(stdout);
}

void PrintEvent(const ChannelEvent& event) {
    Print(QStringLiteral("%1: %2\n").arg(event.title, event.text));
    std::fflush(stdout);
}

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    Parse(parser, arguments);
    if (!parser.positionalArguments().isEmpty()) {
        throw UsageError("run takes options only");
    }
    DataModule data(DatabasePath(parser));
    const DeploymentConfig config = DeploymentConfig::Load();
    const DebugLog log;

    NotificationChannels channels(data.Settings(), config, PrintEvent, EnglishText, log);
    channels.SetSmsEnabled(
        data.Settings().ReadSettingInteger(QStringLiteral("SMSNotification"), 0) != 0);
    channels.SetEmailEnabled(
        data.Settings().ReadSettingInteger(QStringLiteral("EmailNotification"), 0) != 0);
    Intake intake(data, &channels);

    HandOverQueue handOver;
    ScannerSupervisor supervisor(handOver, {config.siteBaseUrl.toStdString(), Pacing(), log});
    CatchStopSignals();
    supervisor.StartScanners(data, [&](CheckThread&, const CarInfo& car) {
        intake.CarFound(car);
        PrintFound(car);
    });
    std::fprintf(stderr, "marvolt run: %d active task(s) on %s, SMS %s, e-mail %s; Ctrl+C stops.\n",
                 supervisor.RunningCount(), qPrintable(config.siteBaseUrl),
                 channels.SmsEnabled() ? "on" : "off", channels.EmailEnabled() ? "on" : "off");
    while (stopSignal == 0) {
        handOver.RunPending(std::chrono::milliseconds(200));
    }
    supervisor.Shutdown();
    std::fprintf(stderr, "marvolt run: stopped\n");
    return 0;
}

}  // namespace marvolt::cli
