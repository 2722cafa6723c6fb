#pragma once

#include <cstdint>

namespace kestrum {

// The process's uniform pseudo-random source, 0 <= u < 1. A value type, so that a wipe can
// walk two points of the same sequence side by side.
class RandomSource {
  public:
    // Every draw is an integer numerator over this denominator.
    static constexpr std::uint64_t kDenominator = std::uint64_t{1} << 53;

    void Seed(std::uint64_t seed) { state_ = seed ^ kStep; }

    double Next() {
        return static_cast<double>(NextNumerator()) * (1.0 / static_cast<double>(kDenominator));
    }

    // The next draw as the exact integer u * 2^53, for callers that convert it themselves.
    std::uint64_t NextNumerator() {
        // splitmix64; the top 53 bits make the fraction. The state only counts, so any draw can
        // be reached at once.
        std::uint64_t z = (state_ += kStep);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return z >> 11;
    }

    // Skips n draws at once.
    void Discard(std::uint64_t n) { state_ += n * kStep; }

  private:
    static constexpr std::uint64_t kStep = 0x9E3779B97F4A7C15ULL;
    std::uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

}  // namespace kestrum
