#pragma once

#include <chrono>

namespace marvolt {

// How long a scanner waits: a pause after every pass and a longer one after an error, each a
// random number of slices drawn from a range. Tests shorten the slice; the ranges stay.
struct Pacing {
    int passMinSlices = 3000;
    int passMaxSlices = 9999;
    int errorMinSlices = 20000;
    int errorMaxSlices = 49999;
    std::chrono::microseconds slice = std::chrono::milliseconds(1);
};

// A whole number from `min` to `max` inclusive, uniform, from the one process-wide source
// that is seeded from the clock when first used. Safe to call from any thread.
int DrawSlices(int min, int max);

}  // namespace marvolt
