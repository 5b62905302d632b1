#pragma once

#include <gtest/gtest.h>

#include "base/DateTime.h"

namespace orvo::test {

inline TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                    int millisecond = 0) {
  return datetime::EncodeDateTime({year, month, day, hour, minute, second, millisecond});
}

// The local time that FixedClock.cpp, linked in place of the system's clock, answers.
void SetFixedLocalTime(TDateTime now) noexcept;

// Fixes the clock at 15 June 2026 12:00:00.000 for each test.
class FixedClockTest : public ::testing::Test {
 protected:
  static constexpr int kYear = 2026;

  void SetUp() override { SetNow(At(kYear, 6, 15, 12)); }

  static void SetNow(TDateTime now) { SetFixedLocalTime(now); }
};

}  // namespace orvo::test
