#pragma once

#include <cstdint>
#include <span>

namespace marvolt::sim {

// A small pseudo-random source whose sequence is fixed by its seed on every platform and
// standard library (the standard distributions are not), so a seed means the same run anywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    Random(std::uint64_t seed, std::uint64_t stream) : state_(seed ^ Mix(stream + 1)) {}

    std::uint64_t Next() {
        state_ += 0x9E3779B97F4A7C15ull;
        return Mix(state_);
    }
    // 0 to n - 1; n must be above 0.
    std::uint64_t Below(std::uint64_t n) { return Next() % n; }
    // from to to, both included.
    int Between(int from, int to) {
        return from + static_cast<int>(Below(static_cast<std::uint64_t>(to - from) + 1));
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    bool Percent(int percent) { return Below(100) < static_cast<std::uint64_t>(percent); }

    template <typename T>
    const T& Pick(std::span<const T> items) {
        return items[Below(items.size())];
    }

  private:
    static std::uint64_t Mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

}  // namespace marvolt::sim
