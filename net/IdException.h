#pragma once

#include "base/Exception.h"

namespace orvo {

// Root of the system's own exception classes. General failures (a text that is no integer, a
// file that can't be opened, console I/O) stay with the general Exception type.
class EIdException : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace orvo
