#include "tests/support/Handles.h"

#include <windows.h>

#include <cstdint>

namespace orvo::test {

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
