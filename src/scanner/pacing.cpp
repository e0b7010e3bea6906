#include "scanner/pacing.h"

#include <mutex>
#include <random>

namespace marvolt {

int DrawSlices(int min, int max) {
    static std::mutex mutex;
    static std::mt19937 source(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> range(min, max);
    const std::lock_guard lock(mutex);
    return range(source);
}

}  // namespace marvolt
