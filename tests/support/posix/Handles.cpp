#include "tests/support/Handles.h"

#include <dirent.h>
#include <sys/socket.h>

namespace orvo::test {

bool BroadcastEnabled(std::uintptr_t socket) {
  int value = 0;
  socklen_t length = sizeof value;
  return ::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_BROADCAST, &value, &length) == 0 &&
         value != 0;
}

int OpenHandleCount() {
  int count = 0;
  DIR* directory = ::opendir("/proc/self/fd");
  if (directory == nullptr)
    return -1;
  while (::readdir(directory) != nullptr)
    ++count;
  ::closedir(directory);
  return count;
}

}  // namespace orvo::test
