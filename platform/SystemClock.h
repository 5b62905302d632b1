#pragma once

#include "base/DateTime.h"
#include "platform/Clock.h"

// The system's own local time, one source per platform (a test program may link its own).
namespace orvo::platform::clock {

// `last` is the caller's conversion of the last second it read, which a platform whose
// conversion is costly reuses within that second and renews for a new one.
TDateTime SystemLocalTime(TConvertedSecond& last);

}  // namespace orvo::platform::clock
