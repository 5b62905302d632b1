#include <time.h>

#include <atomic>
#include <cstdint>

#include "platform/Clock.h"

namespace orvo::platform {

namespace {

std::atomic<bool> gTimeFixed{false};
std::atomic<std::int64_t> gFixedTime{0};

TDateTime SystemLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // localtime_r reads the time zone once per process, so every later call is arithmetic only.
  tm local{};
  localtime_r(&now.tv_sec, &local);
  TDateTimeParts parts;
  parts.Year = local.tm_year + 1900;
  parts.Month = local.tm_mon + 1;
  parts.Day = local.tm_mday;
  parts.Hour = local.tm_hour;
  parts.Minute = local.tm_min;
  // A leap second is shown as :60; the local time of this system has no such second.
  parts.Second = local.tm_sec > 59 ? 59 : local.tm_sec;
  parts.Millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
  return datetime::TryEncodeDateTime(parts).value_or(TDateTime());
}

}  // namespace

TDateTime GetLocalTime() {
  if (gTimeFixed.load(std::memory_order_acquire)) {
    return TDateTime(gFixedTime.load(std::memory_order_relaxed));
  }
  return SystemLocalTime();
}

void SetLocalTimeForTesting(std::optional<TDateTime> time) noexcept {
  if (time)
    gFixedTime.store(time->Milliseconds(), std::memory_order_relaxed);
  gTimeFixed.store(time.has_value(), std::memory_order_release);
}

}  // namespace orvo::platform
