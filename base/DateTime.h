#pragma once

#include <compare>
#include <cstdint>
#include <optional>

namespace orvo {

// A local wall-clock time in milliseconds since 30 December 1899 00:00; that zero value marks a
// time never set.
class TDateTime {
 public:
  constexpr TDateTime() noexcept = default;
  constexpr explicit TDateTime(std::int64_t milliseconds) noexcept : FMilliseconds(milliseconds) {}

  constexpr std::int64_t Milliseconds() const noexcept { return FMilliseconds; }
  constexpr bool IsZero() const noexcept { return FMilliseconds == 0; }

  friend constexpr auto operator<=>(TDateTime, TDateTime) noexcept = default;

 private:
  std::int64_t FMilliseconds = 0;
};

// The calendar fields of a date-time (proleptic Gregorian calendar, years 1 to 9999).
struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;

  friend bool operator==(const TDateTimeParts&, const TDateTimeParts&) = default;
};

namespace datetime {

bool IsLeapYear(int year) noexcept;

// Days of the month in that year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month) noexcept;

// nullopt when a field is out of range, including a day that the month does not have that year.
std::optional<TDateTime> TryEncodeDateTime(const TDateTimeParts& parts) noexcept;

// As TryEncodeDateTime, but fields out of range raise EConvertError.
TDateTime EncodeDateTime(const TDateTimeParts& parts);

TDateTimeParts DecodeDateTime(TDateTime value) noexcept;

int YearOf(TDateTime value) noexcept;

// YearOf(a) == YearOf(b), answered without the calendar when both fall on one day.
bool SameYear(TDateTime a, TDateTime b) noexcept;

// The whole second a date-time falls in, rounded down also before the zero value; inline, as
// encoding asks it for every message.
constexpr std::int64_t SecondOf(TDateTime value) noexcept {
  const std::int64_t milliseconds = value.Milliseconds();
  return milliseconds / 1000 - (milliseconds % 1000 < 0 ? 1 : 0);
}

}  // namespace datetime

}  // namespace orvo
