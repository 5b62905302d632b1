#include "platform/Clock.h"

#include <atomic>
#include <cstdint>

#include "platform/SystemClock.h"

namespace orvo::platform {

namespace {

std::atomic<bool> gTimeFixed{false};
std::atomic<std::int64_t> gFixedTime{0};

}  // namespace

TDateTime GetLocalTime() {
  TLocalClock clock;
  return clock.Now();
}

TDateTime TLocalClock::Now() {
  if (gTimeFixed.load(std::memory_order_acquire)) {
    return TDateTime(gFixedTime.load(std::memory_order_relaxed));
  }
  return clock::SystemLocalTime(FLastSecond);
}

void SetLocalTimeForTesting(std::optional<TDateTime> time) noexcept {
  if (time)
    gFixedTime.store(time->Milliseconds(), std::memory_order_relaxed);
  gTimeFixed.store(time.has_value(), std::memory_order_release);
}

}  // namespace orvo::platform
