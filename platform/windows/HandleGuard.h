#pragma once

#include <windows.h>

namespace orvo::platform {

// Closes a handle of the system when it goes out of scope; an invalid handle is left alone.
class THandleGuard {
 public:
  explicit THandleGuard(HANDLE handle) noexcept : FHandle(handle) {}
  THandleGuard(const THandleGuard&) = delete;
  THandleGuard& operator=(const THandleGuard&) = delete;
  ~THandleGuard() {
    if (FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr)
      ::CloseHandle(FHandle);
  }

 private:
  HANDLE FHandle;
};

}  // namespace orvo::platform
