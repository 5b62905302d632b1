#pragma once

#include <cstdint>

// The benchmarks replace the global operator new so that each can report its heap allocations
// per iteration.
namespace orvo::bench {

// Allocations made through operator new since the process started, on every thread.
std::int64_t Allocations() noexcept;

}  // namespace orvo::bench
