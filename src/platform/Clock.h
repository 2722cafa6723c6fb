#pragma once

#include <cstdint>

namespace kestrum {

// A monotonic clock: it never goes back and does not wrap at midnight.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint64_t NowMilliseconds() = 0;
};

}  // namespace kestrum
