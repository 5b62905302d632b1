#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

namespace orvo::platform {
namespace {

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { SetLocalTimeForTesting(std::nullopt); }
};

// The local time, to the second, as the C library tells it.
TDateTime LibraryLocalTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  return datetime::EncodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                   local.tm_hour, local.tm_min, local.tm_sec, 0});
}

TEST_F(ClockTest, TellsTheLocalTimeWithMilliseconds) {
  const TDateTime before = LibraryLocalTime();
  const TDateTime now = GetLocalTime();
  const TDateTime after = LibraryLocalTime();
  // time() may read a coarse clock that lags the precise one by a few milliseconds, so the
  // later whole second can still be the earlier one just after a second has turned.
  constexpr std::int64_t CoarseClockLag = 50;
  EXPECT_LE(before, now);
  EXPECT_LT(now.Milliseconds(), after.Milliseconds() + 1000 + CoarseClockLag);
}

TEST_F(ClockTest, MillisecondsMove) {
  // Bounded: a clock whose milliseconds move shows a change within a few thousand reads.
  const TDateTime first = GetLocalTime();
  bool moved = false;
  for (int i = 0; i < 5'000'000 && !moved; ++i)
    moved = GetLocalTime() != first;
  EXPECT_TRUE(moved);
}

TEST_F(ClockTest, AnswersTheTimeATestFixedUntilCleared) {
  const TDateTime fixed = datetime::EncodeDateTime({2031, 1, 1, 0, 0, 0, 5});
  SetLocalTimeForTesting(fixed);
  EXPECT_EQ(GetLocalTime(), fixed);
  EXPECT_EQ(GetLocalTime(), fixed);
  SetLocalTimeForTesting(TDateTime());
  EXPECT_TRUE(GetLocalTime().IsZero());
  SetLocalTimeForTesting(std::nullopt);
  const TDateTime before = LibraryLocalTime();
  EXPECT_GE(GetLocalTime(), before);
}

}  // namespace
}  // namespace orvo::platform
