#include "platform/GivenArguments.h"

#include "platform/Process.h"

namespace orvo::platform {

namespace {

std::optional<std::vector<std::string>> Given;

}  // namespace

void SetProgramArguments(std::vector<std::string> arguments) {
  Given = std::move(arguments);
}

std::optional<std::vector<std::string>> process::GivenArguments() {
  return Given;
}

}  // namespace orvo::platform
