#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "simulator/simulator.h"

namespace marvolt::sim::test {

// A clock that stands still until the test moves it.
class TestClock {
  public:
    TestClock() : now_(std::chrono::sys_days(std::chrono::year(2024) / 6 / 1).time_since_epoch()) {}

    TimePoint Now() const {
        return TimePoint(std::chrono::duration_cast<TimePoint::duration>(now_.load()));
    }
    void Advance(std::chrono::milliseconds step) { now_ = now_.load() + step; }
    Clock AsClock() {
        return [this] { return Now(); };
    }

  private:
    std::atomic<std::chrono::milliseconds> now_;
};

// A stand-in on a free loopback port with a clock the test moves; nothing is published
// unless the options or the test say so.
struct TestSite {
    explicit TestSite(SimulatorOptions options = Quiet()) {
        options.clock = clock.AsClock();
        simulator = std::make_unique<Simulator>(std::move(options));
        simulator->Start();
    }

    static SimulatorOptions Quiet() {
        SimulatorOptions options;
        options.backlog = 0;
        options.ratePerMinute = 0;
        return options;
    }

    // A client that sends the query exactly as given, "+" and "&&" included.
    std::unique_ptr<httplib::Client> Client() const {
        auto client = std::make_unique<httplib::Client>("127.0.0.1", simulator->Port());
        client->set_url_encode(false);
        client->set_read_timeout(10, 0);
        return client;
    }

    TestClock clock;
    std::unique_ptr<Simulator> simulator;
};

}  // namespace marvolt::sim::test
