#include "tests/support/Handles.h"

#include <winsock2.h>  // windows.h with it, in the order it needs

#include <cstdint>

namespace orvo::test {

bool BroadcastEnabled(std::uintptr_t socket) {
  BOOL value = FALSE;
  int length = sizeof value;
  return ::getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_BROADCAST,
                      reinterpret_cast<char*>(&value), &length) == 0 &&
         value != FALSE;
}

// Handles are multiples of 4; a socket is one of them. Wine does not count its handles for
// GetProcessHandleCount, so each candidate is asked whether it is open.
int OpenHandleCount() {
  int count = 0;
  for (std::uintptr_t value = 4; value < (1u << 16); value += 4) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
      ++count;
  }
  return count;
}

}  // namespace orvo::test
