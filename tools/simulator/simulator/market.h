#pragma once

#include <cstdint>
#include <vector>

#include "simulator/catalogue.h"
#include "simulator/random.h"

namespace marvolt::sim {

// The listings on the site and when they appeared. New ones come from the catalogue at the
// given rate, with random gaps fixed by the seed; time only moves when the caller says so, so
// a test drives it with its own clock. Not thread-safe: the server guards it.
class Market {
  public:
    // backlog: listings already online at start, spread over the 30 hours before it.
    Market(std::uint32_t seed, double ratePerMinute, int backlog, TimePoint start);

    // Publishes every listing due by now, each with its due time as its creation time.
    void CatchUp(TimePoint now);
    // Publishes the catalogue's next listing now.
    const Listing& PublishNext(TimePoint now);
    // Publishes a listing made elsewhere now; an id of 0 gets the next free one. Raises
    // std::invalid_argument when the id is already online.
    const Listing& Publish(Listing listing, TimePoint now);

    const Listing* Find(std::int32_t id) const;
    // Every listing online, newest first.
    std::vector<const Listing*> Newest() const;

  private:
    const Listing& Add(Listing listing);
    std::chrono::milliseconds NextGap();

    Catalogue catalogue_;
    std::uint64_t nextIndex_ = 0;
    double ratePerMinute_;
    Random schedule_;
    TimePoint nextDue_;
    std::vector<Listing> online_;  // in publication order
};

}  // namespace marvolt::sim
