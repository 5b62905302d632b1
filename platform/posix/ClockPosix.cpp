#include <time.h>

#include <optional>

#include "platform/SystemClock.h"

namespace orvo::platform::clock {

// A 32-bit build asks for the 64-bit time (_TIME_BITS=64): the 32-bit one ends in 2038.
static_assert(sizeof(time_t) == 8, "time_t must be 64-bit");

namespace {

std::optional<TDateTime> LocalTimeOfSecond(time_t second) {
  tm local{};
  localtime_r(&second, &local);
  TDateTimeParts parts;
  parts.Year = local.tm_year + 1900;
  parts.Month = local.tm_mon + 1;
  parts.Day = local.tm_mday;
  parts.Hour = local.tm_hour;
  parts.Minute = local.tm_min;
  // A leap second is shown as :60; the local time of this system has no such second.
  parts.Second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return datetime::TryEncodeDateTime(parts);
}

}  // namespace

TDateTime SystemLocalTime(TConvertedSecond& last) {
  // The wall clock as of the system's last timer tick, as the Windows clock reads too: the
  // stamps carry whole seconds, and this reading costs a fraction of a precise one, which a
  // sender pays for every message.
  timespec now{};
  clock_gettime(CLOCK_REALTIME_COARSE, &now);
  // A sender reads the clock once per message, hundreds of thousands of times a second, and so
  // converts about once a second instead of every time.
  if (!last.Known || now.tv_sec != last.Second)
    last = {true, now.tv_sec, LocalTimeOfSecond(now.tv_sec)};
  // A second the calendar can't hold reads as the zero time.
  if (!last.Start)
    return TDateTime();
  return TDateTime(last.Start->Milliseconds() + now.tv_nsec / 1'000'000);
}

}  // namespace orvo::platform::clock
