#pragma once

#include "platform/Clock.h"

namespace kestrum::fakes {

// Time moves only when a test or the fake event queue moves it.
class FakeClock final : public IClock {
  public:
    std::uint64_t NowMilliseconds() override { return now_; }
    std::uint64_t SeedTicks() override { return ++ticks_; }
    void Advance(std::uint64_t milliseconds) { now_ += milliseconds; }

  private:
    std::uint64_t now_ = 1'000'000, ticks_ = 0;
};

}  // namespace kestrum::fakes
