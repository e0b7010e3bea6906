// `marvolt-simulator`: the classifieds site and SMS gateway stand-in on loopback.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/simulator.h"

namespace {

constexpr char kUsage[] =
    "Usage: marvolt-simulator [OPTIONS]\n"
    "\n"
    "Serves the classifieds site and the SMS gateway on 127.0.0.1 for Marvolt Scanner.\n"
    "\n"
    "  --port N                 port to listen on (default 8080; 0 picks a free one)\n"
    "  --seed N                 fixes the catalogue and the publication sequence (default 1)\n"
    "  --rate R                 new listings per minute (default 3; 0: none)\n"
    "  --backlog N              listings online at start, from the last 30 hours (default 40)\n"
    "  --sms-user NAME          the gateway account's user (default demo)\n"
    "  --sms-password TEXT      the gateway account's password (default demo)\n"
    "  --sms-balance N          messages the account may send (default 100)\n"
    "  --fault KIND:FAULT:WHEN  a fault on demand; may be given more than once\n"
    "                           KIND: search, detail, picture, gateway or all\n"
    "                           FAULT: drop, delay, 500, 503, bad-utf8, price-dot (detail),\n"
    "                                  no-picture (picture), trickle\n"
    "                           WHEN: p=P (probability 0..1) or next=N (the next N requests)\n"
    "  --fault-delay SECONDS    how long the delay fault holds an answer (default 11)\n"
    "  --trickle-bytes N        piece size of a trickling body (default 64)\n"
    "  --trickle-interval-ms N  pause between the pieces (default 250)\n"
    "  --quiet                  no line per request on standard error\n"
    "  --help                   this text\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

long Number(std::string_view option, const std::string& text, long least, long most) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < least || value > most) {
        throw UsageError(std::string(option) + " needs a whole number from " +
                         std::to_string(least) + " to " + std::to_string(most));
    }
    return value;
}

double Decimal(std::string_view option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value >= 0) || value > 6000) {
        throw UsageError(std::string(option) + " needs a number from 0 to 6000");
    }
    return value;
}

struct Settings {
    marvolt::sim::SimulatorOptions options;
    std::vector<marvolt::sim::FaultOption> faults;
    bool help = false;
    bool quiet = false;
};

Settings Parse(int argc, char** argv) {
    Settings settings;
    auto& options = settings.options;
    options.port = 8080;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            settings.help = true;
            continue;
        }
        if (option == "--quiet") {
            settings.quiet = true;
            continue;
        }
        if (i + 1 >= argc) {
            throw UsageError(option.starts_with("--") ? std::string(option) + " needs a value"
                                                      : "unknown argument " + std::string(option));
        }
        const std::string value = argv[++i];
        if (option == "--port") {
            options.port = static_cast<int>(Number(option, value, 0, 65535));
        } else if (option == "--seed") {
            options.seed = static_cast<std::uint32_t>(Number(option, value, 0, 4294967295L));
        } else if (option == "--rate") {
            options.ratePerMinute = Decimal(option, value);
        } else if (option == "--backlog") {
            options.backlog = static_cast<int>(Number(option, value, 0, 10000));
        } else if (option == "--sms-user") {
            options.sms.user = value;
        } else if (option == "--sms-password") {
            options.sms.password = value;
        } else if (option == "--sms-balance") {
            options.sms.balance = static_cast<int>(Number(option, value, 0, 1000000000));
        } else if (option == "--fault") {
            try {
                settings.faults.push_back(marvolt::sim::ParseFaultOption(value));
            } catch (const std::invalid_argument& error) {
                throw UsageError(error.what());
            }
        } else if (option == "--fault-delay") {
            options.faultDelay =
                std::chrono::milliseconds(static_cast<long>(Decimal(option, value) * 1000));
        } else if (option == "--trickle-bytes") {
            options.trickleBytes = static_cast<std::size_t>(Number(option, value, 1, 1 << 20));
        } else if (option == "--trickle-interval-ms") {
            options.trickleInterval = std::chrono::milliseconds(Number(option, value, 0, 600000));
        } else {
            throw UsageError("unknown option " + std::string(option));
        }
    }
    return settings;
}

void ApplyFaults(marvolt::sim::Simulator& simulator,
                 const std::vector<marvolt::sim::FaultOption>& faults) {
    using marvolt::sim::RequestKind;
    for (const auto& fault : faults) {
        for (auto kind : {RequestKind::Search, RequestKind::Detail, RequestKind::Picture,
                          RequestKind::Gateway}) {
            if ((fault.kind && *fault.kind == kind) ||
                (!fault.kind && marvolt::sim::FaultApplies(fault.fault, kind))) {
                simulator.SetFault(kind, fault.fault, fault.rule);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    try {
        settings = Parse(argc, argv);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "marvolt-simulator: %s\n\n%s", error.what(), kUsage);
        return 2;
    }
    if (settings.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!settings.quiet) {
        settings.options.log = [](const std::string& line) {
            std::fprintf(stderr, "[marvolt-simulator] %s\n", line.c_str());
        };
    }

    // Signals are taken by sigwait below, not by whichever server thread they would hit.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        marvolt::sim::Simulator simulator(settings.options);
        ApplyFaults(simulator, settings.faults);
        simulator.Start();
        std::fprintf(stderr,
                     "marvolt-simulator: listening on %s (seed %u, %g new listings a minute, "
                     "SMS account %s with %d messages)\n",
                     simulator.BaseUrl().c_str(), settings.options.seed,
                     settings.options.ratePerMinute, settings.options.sms.user.c_str(),
                     settings.options.sms.balance);
        int signal = 0;
        sigwait(&signals, &signal);
        std::fprintf(stderr, "marvolt-simulator: %s received, stopping\n",
                     signal == SIGINT ? "SIGINT" : "SIGTERM");
        simulator.Stop();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marvolt-simulator: %s\n", error.what());
        return 1;
    }
    return 0;
}
