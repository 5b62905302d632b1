#pragma once

namespace orvo::test {

// The number of descriptors (POSIX) or handles (Windows) this process has open, to see that a
// socket is closed exactly when it should be.
int OpenHandleCount();

}  // namespace orvo::test
