#include <time.h>

#include "platform/SystemClock.h"

namespace orvo::platform::clock {

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

}  // namespace orvo::platform::clock
