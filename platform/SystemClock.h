#pragma once

#include "base/DateTime.h"

// The system's own local time, one source per platform; Clock.cpp puts the test hook around it.
namespace orvo::platform::clock {

TDateTime SystemLocalTime();

}  // namespace orvo::platform::clock
