#include "net/IdComponent.h"

#include "net/IdStack.h"

namespace orvo {

namespace {

std::mutex gStackLock;
std::int32_t gStackUserCount = 0;

}  // namespace

TIdBaseComponent::~TIdBaseComponent() = default;

void TIdBaseComponent::EndLoading() {
  FLoading = false;
  Loaded();
}

TIdComponent::TIdComponent() {
  const std::lock_guard<std::mutex> guard(gStackLock);
  if (gStackUserCount == 0) {
    // NewStack may raise; the count is raised only once the stack exists.
    ExchangeSharedStack(NewStack());
  }
  ++gStackUserCount;
}

TIdComponent::~TIdComponent() {
  const std::lock_guard<std::mutex> guard(gStackLock);
  if (--gStackUserCount == 0)
    ExchangeSharedStack(nullptr);
}

std::int32_t StackUserCount() noexcept {
  const std::lock_guard<std::mutex> guard(gStackLock);
  return gStackUserCount;
}

std::mutex& StackLock() noexcept {
  return gStackLock;
}

}  // namespace orvo
