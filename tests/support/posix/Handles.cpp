#include "tests/support/Handles.h"

#include <dirent.h>

namespace orvo::test {

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
