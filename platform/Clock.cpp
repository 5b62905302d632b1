#include "platform/Clock.h"

#include "platform/SystemClock.h"

namespace orvo::platform {

TDateTime GetLocalTime() {
  TLocalClock clock;
  return clock.Now();
}

TDateTime TLocalClock::Now() {
  return clock::SystemLocalTime(FLastSecond);
}

}  // namespace orvo::platform
