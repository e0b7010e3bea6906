#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "scanner/pacing.h"
#include "simulator/simulator.h"

namespace marvolt::test {

// Pauses of a few milliseconds: the production slice counts over 2-microsecond slices.
Pacing FastPacing();

// The site stand-in on loopback with a clock that moves only when the test publishes, so the
// order of listings on its pages is exact.
class TestSite {
  public:
    // Listens at once unless `start` is false; then the test calls Site().Start().
    explicit TestSite(int port = 0, bool start = true);

    sim::Simulator& Site() { return *site_; }
    std::string BaseUrl() const { return site_->BaseUrl(); }
    // A copy of a car that is online, for publishing look-alikes.
    sim::Listing SomeCar();
    // Publishes a copy of `listing` as the newest one, a minute after the one before; an id
    // of 0 takes the next free id.
    sim::Listing Publish(sim::Listing listing, std::int32_t id = 0, bool featured = false);

  private:
    std::atomic<std::int64_t> minutes_ = 0;
    std::unique_ptr<sim::Simulator> site_;
};

}  // namespace marvolt::test
