#include "platform/GivenArguments.h"

#include <mutex>

#include "platform/Process.h"

namespace orvo::platform {

namespace {

std::mutex ArgumentsLock;
std::optional<std::vector<std::string>> Given;

}  // namespace

void SetProgramArguments(std::vector<std::string> arguments) {
  const std::lock_guard<std::mutex> guard(ArgumentsLock);
  Given = std::move(arguments);
}

std::optional<std::vector<std::string>> process::GivenArguments() {
  const std::lock_guard<std::mutex> guard(ArgumentsLock);
  return Given;
}

}  // namespace orvo::platform
