#include "base/DateTime.h"

#include <gtest/gtest.h>

#include <chrono>

#include "base/Exception.h"

namespace orvo::datetime {
namespace {

TDateTimeParts Parts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                     int millisecond = 0) {
  return {year, month, day, hour, minute, second, millisecond};
}

TEST(DateTimeTest, ZeroIsThirtiethOfDecember1899AtMidnight) {
  EXPECT_TRUE(TDateTime().IsZero());
  EXPECT_EQ(DecodeDateTime(TDateTime()), Parts(1899, 12, 30));
  EXPECT_EQ(EncodeDateTime(Parts(1899, 12, 30)), TDateTime());
  EXPECT_EQ(EncodeDateTime(Parts(1899, 12, 31)).Milliseconds(), 86'400'000);
  EXPECT_EQ(EncodeDateTime(Parts(1899, 12, 29, 23, 59, 59, 999)).Milliseconds(), -1);
  EXPECT_EQ(YearOf(TDateTime()), 1899);
  EXPECT_EQ(YearOf(TDateTime(-1)), 1899);
}

TEST(DateTimeTest, KeepsEveryFieldDownToTheMillisecond) {
  const TDateTimeParts parts = Parts(2026, 3, 5, 14, 3, 9, 250);
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(parts)), parts);
  EXPECT_EQ(EncodeDateTime(parts).Milliseconds() - EncodeDateTime(Parts(2026, 3, 5)).Milliseconds(),
            ((14 * 60 + 3) * 60 + 9) * 1000 + 250);
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(Parts(1, 1, 1))), Parts(1, 1, 1));
  EXPECT_EQ(DecodeDateTime(EncodeDateTime(Parts(9999, 12, 31, 23, 59, 59, 999))),
            Parts(9999, 12, 31, 23, 59, 59, 999));
}

TEST(DateTimeTest, EveryDayAgreesWithTheStandardCalendar) {
  using namespace std::chrono;
  const sys_days first = year{1890} / January / 1;
  const sys_days last = year{2110} / December / 31;
  const sys_days zero = year{1899} / December / 30;
  for (sys_days day = first; day <= last; day += days{1}) {
    const year_month_day date(day);
    const TDateTimeParts parts =
        Parts(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
              static_cast<int>(static_cast<unsigned>(date.day())));
    const TDateTime value = EncodeDateTime(parts);
    ASSERT_EQ(value.Milliseconds(), (day - zero).count() * 86'400'000LL);
    ASSERT_EQ(DecodeDateTime(value), parts);
    ASSERT_EQ(DecodeDateTime(TDateTime(value.Milliseconds() + 86'399'999)).Day, parts.Day);
  }
}

TEST(DateTimeTest, LeapYearsFollowTheGregorianRule) {
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2026));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2026, 2), 28);
  EXPECT_EQ(DaysInMonth(2026, 4), 30);
  EXPECT_EQ(DaysInMonth(2026, 12), 31);
  EXPECT_EQ(DaysInMonth(2026, 13), 0);
  EXPECT_EQ(DaysInMonth(2026, 0), 0);
}

TEST(DateTimeTest, RefusesFieldsOutOfRange) {
  EXPECT_TRUE(TryEncodeDateTime(Parts(2024, 2, 29)).has_value());
  for (const TDateTimeParts& bad :
       {Parts(2026, 2, 29), Parts(2024, 2, 30), Parts(2026, 4, 31), Parts(2026, 13, 1),
        Parts(2026, 0, 1), Parts(2026, 1, 0), Parts(2026, 1, 1, 24), Parts(2026, 1, 1, 0, 60),
        Parts(2026, 1, 1, 0, 0, 60), Parts(2026, 1, 1, 0, 0, 0, 1000), Parts(0, 1, 1),
        Parts(10000, 1, 1), Parts(2026, 1, 1, -1)}) {
    EXPECT_FALSE(TryEncodeDateTime(bad).has_value())
        << bad.Year << "-" << bad.Month << "-" << bad.Day << " " << bad.Hour;
    EXPECT_THROW(EncodeDateTime(bad), EConvertError);
  }
}

TEST(DateTimeTest, SameYearAgreesWithYearOfAcrossDaysAndYears) {
  const TDateTime lastOf2026 = EncodeDateTime(Parts(2026, 12, 31, 23, 59, 59, 999));
  const TDateTime firstOf2027 = EncodeDateTime(Parts(2027, 1, 1));
  EXPECT_FALSE(SameYear(lastOf2026, firstOf2027)) << "one millisecond apart, two years";
  EXPECT_FALSE(SameYear(firstOf2027, lastOf2026));
  EXPECT_TRUE(SameYear(lastOf2026, EncodeDateTime(Parts(2026, 1, 1))));
  EXPECT_TRUE(SameYear(lastOf2026, EncodeDateTime(Parts(2026, 12, 31, 0, 0, 0, 1))));
  EXPECT_TRUE(SameYear(TDateTime(-1), TDateTime())) << "two days of 1899";
  EXPECT_FALSE(SameYear(TDateTime(), firstOf2027));
}

TEST(DateTimeTest, SecondOfRoundsDownAlsoBeforeTheZeroValue) {
  EXPECT_EQ(SecondOf(TDateTime()), 0);
  EXPECT_EQ(SecondOf(TDateTime(999)), 0);
  EXPECT_EQ(SecondOf(TDateTime(1000)), 1);
  EXPECT_EQ(SecondOf(TDateTime(-1)), -1);
  EXPECT_EQ(SecondOf(TDateTime(-1000)), -1);
  EXPECT_EQ(SecondOf(TDateTime(-1001)), -2);
}

}  // namespace
}  // namespace orvo::datetime
