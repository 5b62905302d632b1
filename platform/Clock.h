#pragma once

#include <optional>

#include "base/DateTime.h"

// The clock: the local date and time as the system gives it, with milliseconds.
namespace orvo::platform {

// Now, in local wall-clock time; or the time a test fixed with SetLocalTimeForTesting.
TDateTime GetLocalTime();

// Makes GetLocalTime answer `time` from now on; nullopt gives the system clock back.
void SetLocalTimeForTesting(std::optional<TDateTime> time) noexcept;

}  // namespace orvo::platform
