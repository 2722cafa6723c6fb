#pragma once

#include <cstdint>

namespace kestrum {

// The process's uniform pseudo-random source, 0 <= u < 1. A value type, so that a wipe can
// walk two points of the same sequence side by side.
class RandomSource {
  public:
    void Seed(std::uint64_t seed) { state_ = seed ^ 0x9E3779B97F4A7C15ULL; }

    double Next() {
        // splitmix64; the top 53 bits make the fraction.
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
    }

    // Skips n draws at once.
    void Discard(std::uint64_t n) { state_ += n * 0x9E3779B97F4A7C15ULL; }

  private:
    std::uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

}  // namespace kestrum
