#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>

namespace orvo::platform {
namespace {

// The local time, to the second, as the C library tells it.
TDateTime LibraryLocalTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  return datetime::EncodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                   local.tm_hour, local.tm_min, local.tm_sec, 0});
}

TEST(ClockTest, TellsTheLocalTimeWithMilliseconds) {
  const TDateTime before = LibraryLocalTime();
  const TDateTime now = GetLocalTime();
  const TDateTime after = LibraryLocalTime();
  // time() may read a coarse clock that lags the precise one by a few milliseconds, so the
  // later whole second can still be the earlier one just after a second has turned.
  constexpr std::int64_t CoarseClockLag = 50;
  EXPECT_LE(before, now);
  EXPECT_LT(now.Milliseconds(), after.Milliseconds() + 1000 + CoarseClockLag);
}

TEST(ClockTest, MillisecondsMove) {
  // Bounded: a clock whose milliseconds move shows a change within a few thousand reads.
  TLocalClock clock;
  const TDateTime first = clock.Now();
  bool moved = false;
  for (int i = 0; i < 5'000'000 && !moved; ++i)
    moved = clock.Now() != first;
  EXPECT_TRUE(moved);
}

std::int64_t SecondOf(TDateTime time) {
  return time.Milliseconds() / 1000;
}

// A conversion kept past its second would stay in it or drift from the C library's local time.
TEST(ClockTest, ConvertsEachNewSecondAfresh) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  TLocalClock clock;
  const TDateTime first = clock.Now();
  TDateTime last = first;
  while (SecondOf(last) == SecondOf(first) && std::chrono::steady_clock::now() < deadline) {
    const TDateTime now = clock.Now();
    EXPECT_LE(SecondOf(now), SecondOf(first) + 1);
    last = now;
  }
  ASSERT_EQ(SecondOf(last), SecondOf(first) + 1) << "the second did not turn within 3 s";
  EXPECT_LT(last.Milliseconds() % 1000, 500) << "the new second was read late or wrongly";
  // The same second as the C library tells, give or take the turn between the two reads.
  const std::int64_t library = SecondOf(LibraryLocalTime());
  EXPECT_LE(library - SecondOf(last), 1);
  EXPECT_GE(library - SecondOf(last), -1);
}

}  // namespace
}  // namespace orvo::platform
