#pragma once

#include <cstdint>

#include "simulator/listing.h"

namespace marvolt::sim {

// Makes up listings from a seed: the same seed and index give the same listing, so a run of
// the site can be repeated exactly. Makes and model ids are the site's reference ids.
class Catalogue {
  public:
    explicit Catalogue(std::uint32_t seed);

    // The index-th listing of the seed's sequence; its id grows with the index. Its creation
    // time is left unset: the site sets it when it publishes the listing.
    Listing Generate(std::uint64_t index) const;

  private:
    std::uint32_t seed_;
};

}  // namespace marvolt::sim
