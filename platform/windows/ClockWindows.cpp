#include <windows.h>

#include "platform/SystemClock.h"

namespace orvo::platform::clock {

// GetLocalTime gives the calendar fields at once, so there is no conversion to keep.
TDateTime SystemLocalTime(TConvertedSecond& /*last*/) {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  TDateTimeParts parts;
  parts.Year = local.wYear;
  parts.Month = local.wMonth;
  parts.Day = local.wDay;
  parts.Hour = local.wHour;
  parts.Minute = local.wMinute;
  parts.Second = local.wSecond;
  parts.Millisecond = local.wMilliseconds;
  return datetime::TryEncodeDateTime(parts).value_or(TDateTime());
}

}  // namespace orvo::platform::clock
