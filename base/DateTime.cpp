#include "base/DateTime.h"

#include <chrono>

#include "base/Exception.h"

namespace orvo::datetime {

namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// The date-time's day number is the system clock's day count from this day on.
constexpr sys_days kZeroDay = std::chrono::year{1899} / std::chrono::December / 30;

constexpr year_month_day CivilDate(int year, int month, int day) noexcept {
  return {std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
          std::chrono::day{static_cast<unsigned>(day)}};
}

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept {
  return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

std::int64_t DayNumberOf(TDateTime value) noexcept {
  return FloorDiv(value.Milliseconds(), kMillisecondsPerDay);
}

year_month_day DateOf(TDateTime value) noexcept {
  return year_month_day(kZeroDay + std::chrono::days(DayNumberOf(value)));
}

bool InRange(int value, int low, int high) noexcept {
  return value >= low && value <= high;
}

}  // namespace

bool IsLeapYear(int year) noexcept {
  return std::chrono::year{year}.is_leap();
}

int DaysInMonth(int year, int month) noexcept {
  if (!InRange(month, 1, 12))
    return 0;
  const std::chrono::year_month_day_last last(
      std::chrono::year{year},
      std::chrono::month_day_last(std::chrono::month{static_cast<unsigned>(month)}));
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::optional<TDateTime> TryEncodeDateTime(const TDateTimeParts& parts) noexcept {
  if (!InRange(parts.Year, 1, 9999) || !InRange(parts.Month, 1, 12) ||
      !InRange(parts.Day, 1, DaysInMonth(parts.Year, parts.Month)) || !InRange(parts.Hour, 0, 23) ||
      !InRange(parts.Minute, 0, 59) || !InRange(parts.Second, 0, 59) ||
      !InRange(parts.Millisecond, 0, 999)) {
    return std::nullopt;
  }
  const std::int64_t days =
      (sys_days(CivilDate(parts.Year, parts.Month, parts.Day)) - kZeroDay).count();
  const std::int64_t timeOfDay =
      ((parts.Hour * 60LL + parts.Minute) * 60 + parts.Second) * 1000 + parts.Millisecond;
  return TDateTime(days * kMillisecondsPerDay + timeOfDay);
}

TDateTime EncodeDateTime(const TDateTimeParts& parts) {
  if (const auto value = TryEncodeDateTime(parts))
    return *value;
  throw EConvertError("Invalid argument to date encode");
}

TDateTimeParts DecodeDateTime(TDateTime value) noexcept {
  const year_month_day date = DateOf(value);
  std::int64_t timeOfDay = value.Milliseconds() - DayNumberOf(value) * kMillisecondsPerDay;
  TDateTimeParts parts{static_cast<int>(date.year()),
                       static_cast<int>(static_cast<unsigned>(date.month())),
                       static_cast<int>(static_cast<unsigned>(date.day()))};
  parts.Millisecond = static_cast<int>(timeOfDay % 1000);
  timeOfDay /= 1000;
  parts.Second = static_cast<int>(timeOfDay % 60);
  timeOfDay /= 60;
  parts.Minute = static_cast<int>(timeOfDay % 60);
  parts.Hour = static_cast<int>(timeOfDay / 60);
  return parts;
}

bool SameYear(TDateTime a, TDateTime b) noexcept {
  // A message stamped with the very reading it is encoded at is the common case.
  return a == b || DayNumberOf(a) == DayNumberOf(b) || YearOf(a) == YearOf(b);
}

int YearOf(TDateTime value) noexcept {
  return static_cast<int>(DateOf(value).year());
}

}  // namespace orvo::datetime
