// The cost of one SendText datagram against the bare system call: the difference is what the
// client adds (resolution of Host, the address record, the binding's slot and the adapter's
// conversions). Both send the same 128-byte text to the same loopback receiver, which does not
// read: the kernel drops what overflows its buffer, so no reader thread competes for the CPU.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "bench/AllocationCount.h"
#include "net/IdStack.h"
#include "net/IdUDPClient.h"

namespace {

const std::string kText(128, 'm');

void ReportAllocations(benchmark::State& state, long before) {
  state.counters["allocs_per_send"] = static_cast<double>(orvo::bench::Allocations() - before) /
                                      static_cast<double>(state.iterations());
}

class TReceiver {
 public:
  TReceiver() {
    FSocket = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (FSocket < 0 || ::bind(FSocket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("loopback receiver");
    }
    FAddress = address;
  }
  ~TReceiver() { ::close(FSocket); }
  const sockaddr_in& Address() const { return FAddress; }
  int Port() const { return ntohs(FAddress.sin_port); }

 private:
  int FSocket = -1;
  sockaddr_in FAddress{};
};

void BM_RawSendTo(benchmark::State& state) {
  const TReceiver receiver;
  const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
  const long allocations = orvo::bench::Allocations();
  for (auto _ : state) {
    const ssize_t sent =
        ::sendto(socket, kText.data(), kText.size(), 0,
                 reinterpret_cast<const sockaddr*>(&receiver.Address()), sizeof(sockaddr_in));
    if (sent != static_cast<ssize_t>(kText.size()))
      state.SkipWithError("sendto failed");
  }
  ReportAllocations(state, allocations);
  ::close(socket);
  state.SetItemsProcessed(state.iterations());
}

void SendTextTo(benchmark::State& state, const std::string& host) {
  const TReceiver receiver;
  orvo::TIdUDPClient client;
  client.SetHost(host);
  client.SetPort(receiver.Port());
  client.SendText(kText);  // opens the socket outside the timed loop
  const long allocations = orvo::bench::Allocations();
  for (auto _ : state)
    client.SendText(kText);
  ReportAllocations(state, allocations);
  state.SetItemsProcessed(state.iterations());
}

void BM_SendTextDotted(benchmark::State& state) {
  SendTextTo(state, "127.0.0.1");
}

// A name goes to the resolver on every send; this shows what that costs. The machine's own name
// is the local host, whose first interface address the resolver keeps for a second; the
// receiver, on loopback, does not get these datagrams, and need not.
void BM_SendTextLocalHostName(benchmark::State& state) {
  orvo::TIdUDPClient holder;  // keeps SharedStack for the name query
  SendTextTo(state, orvo::SharedStack()->SockHostName());
}

}  // namespace

BENCHMARK(BM_RawSendTo);
BENCHMARK(BM_SendTextDotted);
BENCHMARK(BM_SendTextLocalHostName);
BENCHMARK_MAIN();
