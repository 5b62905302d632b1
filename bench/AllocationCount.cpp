#include "bench/AllocationCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::int64_t> gAllocations{0};

}  // namespace

// The replaced operators pair malloc with free; g++ sees the free behind every inlined delete
// expression and takes it for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size))
    return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace orvo::bench {

std::int64_t Allocations() noexcept {
  return gAllocations.load(std::memory_order_relaxed);
}

}  // namespace orvo::bench
