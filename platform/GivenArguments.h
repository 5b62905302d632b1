#pragma once

#include <optional>
#include <string>
#include <vector>

// The argument vector handed over with SetProgramArguments, kept for every platform's process
// layer.
namespace orvo::platform::process {

// The vector given last, or nothing when none was given.
std::optional<std::vector<std::string>> GivenArguments();

}  // namespace orvo::platform::process
