#include "base/DateTime.h"

#include "base/Exception.h"

namespace orvo::datetime {

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

// Days from 1 January 1970 to 30 December 1899, the zero day.
constexpr std::int64_t kZeroDayFrom1970 = -25'569;

// Day count since 1 January 1970 of a proleptic Gregorian date. Years are counted from
// 1 March so that the leap day ends the year; 146097 days make one 400-year era.
constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) noexcept {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  int Year;
  int Month;
  int Day;
};

constexpr CivilDate CivilFromDays(std::int64_t days) noexcept {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {static_cast<int>(year), month, day};
}

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept {
  return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

static_assert(DaysFromCivil(1899, 12, 30) == kZeroDayFrom1970);
static_assert(CivilFromDays(kZeroDayFrom1970).Year == 1899);

bool InRange(int value, int low, int high) noexcept {
  return value >= low && value <= high;
}

}  // namespace

bool IsLeapYear(int year) noexcept {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!InRange(month, 1, 12))
    return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

std::optional<TDateTime> TryEncodeDateTime(const TDateTimeParts& parts) noexcept {
  if (!InRange(parts.Year, 1, 9999) || !InRange(parts.Month, 1, 12) ||
      !InRange(parts.Day, 1, DaysInMonth(parts.Year, parts.Month)) || !InRange(parts.Hour, 0, 23) ||
      !InRange(parts.Minute, 0, 59) || !InRange(parts.Second, 0, 59) ||
      !InRange(parts.Millisecond, 0, 999)) {
    return std::nullopt;
  }
  const std::int64_t days = DaysFromCivil(parts.Year, parts.Month, parts.Day) - kZeroDayFrom1970;
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
  const std::int64_t days = FloorDiv(value.Milliseconds(), kMillisecondsPerDay);
  std::int64_t timeOfDay = value.Milliseconds() - days * kMillisecondsPerDay;
  const CivilDate date = CivilFromDays(days + kZeroDayFrom1970);
  TDateTimeParts parts{date.Year, date.Month, date.Day};
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
  return a == b ||
         FloorDiv(a.Milliseconds(), kMillisecondsPerDay) ==
             FloorDiv(b.Milliseconds(), kMillisecondsPerDay) ||
         YearOf(a) == YearOf(b);
}

int YearOf(TDateTime value) noexcept {
  return CivilFromDays(FloorDiv(value.Milliseconds(), kMillisecondsPerDay) + kZeroDayFrom1970).Year;
}

}  // namespace orvo::datetime
