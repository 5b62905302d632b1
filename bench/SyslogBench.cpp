// Encoding and parsing of the reference message, with the heap allocations counted.
#include <benchmark/benchmark.h>

#include "bench/AllocationCount.h"
#include "platform/Clock.h"
#include "syslog/IdSysLogMessage.h"

namespace orvo {
namespace {

constexpr char kReferenceMessage[] = "<13>Mar  5 14:03:09 192.0.2.10 app[1234]:hello";

void MakeReferenceMessage(TIdSysLogMessage& message) {
  message.SetHostname("192.0.2.10");
  message.Msg().SetPIDAvailable(true);
  message.Msg().SetPID(1234);
  message.Msg().SetProcess("app");
  message.Msg().SetContent("hello");
  const int year = datetime::YearOf(platform::GetLocalTime());
  message.SetTimeStamp(datetime::EncodeDateTime({year, 3, 5, 14, 3, 9, 250}));
}

// Heap allocations per iteration, as a benchmark counter.
class AllocationCounter {
 public:
  explicit AllocationCounter(benchmark::State& state)
      : FState(state), FStart(bench::Allocations()) {}
  ~AllocationCounter() {
    FState.counters["allocs/iter"] = benchmark::Counter(
        static_cast<double>(bench::Allocations() - FStart), benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& FState;
  std::int64_t FStart;
};

void BM_EncodeText(benchmark::State& state) {
  TIdSysLogMessage message;
  MakeReferenceMessage(message);
  if (message.EncodeText() != kReferenceMessage)
    state.SkipWithError("wrong text");
  const AllocationCounter allocations(state);
  for (auto _ : state)
    benchmark::DoNotOptimize(message.EncodeText());
}
BENCHMARK(BM_EncodeText);

// The program's per-line path: a new content, then the datagram text.
void BM_ContentWriteAndEncodeText(benchmark::State& state) {
  TIdSysLogMessage message;
  MakeReferenceMessage(message);
  const std::string lines[] = {"hello", "a somewhat longer line of a message file"};
  std::size_t line = 0;
  const AllocationCounter allocations(state);
  for (auto _ : state) {
    message.Msg().SetContent(lines[line++ % 2]);
    benchmark::DoNotOptimize(message.EncodeText());
  }
}
BENCHMARK(BM_ContentWriteAndEncodeText);

void BM_ParseText(benchmark::State& state) {
  TIdSysLogMessage message;
  const std::string text = kReferenceMessage;
  const AllocationCounter allocations(state);
  for (auto _ : state) {
    message.ParseText(text);
    benchmark::DoNotOptimize(message.Pri());
  }
  if (message.Msg().Text() != "app[1234]:hello")
    state.SkipWithError("wrong parse");
}
BENCHMARK(BM_ParseText);

}  // namespace
}  // namespace orvo
