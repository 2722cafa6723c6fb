#pragma once

#include <cstdint>

namespace kestrum {

// A monotonic clock: it never goes back and does not wrap at midnight.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual std::uint64_t NowMilliseconds() = 0;
    // A fine-grained counter for seeding, which changes between two calls in quick succession.
    virtual std::uint64_t SeedTicks() = 0;
};

}  // namespace kestrum
