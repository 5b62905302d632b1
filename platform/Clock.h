#pragma once

#include <cstdint>
#include <optional>

#include "base/DateTime.h"

// The clock: the local date and time as the system gives it, with milliseconds.
namespace orvo::platform {

// Now, in local wall-clock time.
TDateTime GetLocalTime();

namespace clock {

// One whole second of the system clock turned into local time; Start is nullopt for a second
// the calendar can't hold.
struct TConvertedSecond {
  bool Known = false;
  std::int64_t Second = 0;
  std::optional<TDateTime> Start;
};

}  // namespace clock

// GetLocalTime for a sender stamping every message: where turning the system clock into local time
// is costly, it turns each new second once and adds each reading's milliseconds to it.
class TLocalClock {
 public:
  TDateTime Now();

 private:
  clock::TConvertedSecond FLastSecond;
};

}  // namespace orvo::platform
