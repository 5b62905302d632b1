#pragma once

#include <string>

// Files read whole.
namespace orvo::platform {

// Appends the whole file's bytes to text. While the file is open others may read it but not
// write it, where the system can refuse writers. False when it can't be opened or read.
bool ReadWholeFile(const std::string& fileName, std::string& text);

}  // namespace orvo::platform
