// The clock of the syslog suite: the time the test set, never the system's.
#include <atomic>
#include <cstdint>

#include "SyslogTestSupport.h"
#include "platform/SystemClock.h"

namespace orvo {

namespace {

// A test's components may stamp messages on a thread of their own.
std::atomic<std::int64_t> gNow{0};

}  // namespace

void test::SetFixedLocalTime(TDateTime now) noexcept {
  gNow.store(now.Milliseconds());
}

TDateTime platform::clock::SystemLocalTime(TConvertedSecond&) {
  return TDateTime(gNow.load());
}

}  // namespace orvo
