#pragma once

#include <cstdint>

namespace orvo::test {

// Whether SO_BROADCAST is on for the socket, asked of the system itself.
bool BroadcastEnabled(std::uintptr_t socket);

// The number of descriptors (POSIX) or handles (Windows) this process has open, to see that a
// socket is closed exactly when it should be.
int OpenHandleCount();

}  // namespace orvo::test
