#include "platform/posix/ws2/HostEntries.h"

#include <unistd.h>

#include <array>
#include <string_view>
#include <vector>

#include "platform/posix/ws2/ErrorCodes.h"
#include "platform/posix/ws2/HostResolver.h"

namespace orvo::ws2posix {

namespace {

// The answer is filled in place, so that a resolved name reaches the entry without another copy.
class THostEntry {
 public:
  THostAnswer& Answer() { return FAnswer; }

  ws2::THostEnt* Publish() {
    FPointers.clear();
    for (auto& address : FAnswer.Addresses)
      FPointers.push_back(reinterpret_cast<char*>(address.data()));
    FPointers.push_back(nullptr);
    FEntry.h_name = FAnswer.Name.data();
    FEntry.h_aliases = FNoAliases.data();
    FEntry.h_addrtype = static_cast<std::int16_t>(ws2::WS_AF_INET);
    FEntry.h_length = 4;
    FEntry.h_addr_list = FPointers.data();
    return &FEntry;
  }

 private:
  THostAnswer FAnswer;
  std::array<char*, 1> FNoAliases{};
  std::vector<char*> FPointers;
  ws2::THostEnt FEntry{};
};

thread_local THostEntry tHostByName;

ws2::THostEnt* NoEntry(std::int32_t code) noexcept {
  Fail(code);
  return nullptr;
}

}  // namespace

ws2::THostEnt* GetHostByName(const char* name) noexcept {
  try {
    const std::string_view asked = name != nullptr ? name : "";
    const std::int32_t code = ProcessResolver().Resolve(asked, tHostByName.Answer());
    if (code != 0)
      return NoEntry(code);
    return tHostByName.Publish();
  } catch (...) {
    return NoEntry(ws2::WS_WSAENOBUFS);
  }
}

std::int32_t GetHostName(char* name, std::int32_t namelen) noexcept {
  if (name == nullptr || namelen <= 0 || ::gethostname(name, static_cast<size_t>(namelen)) != 0)
    return Fail(ws2::WS_WSAEFAULT);
  name[namelen - 1] = '\0';
  return 0;
}

}  // namespace orvo::ws2posix
