#include "platform/posix/ws2/HostResolver.h"

#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace orvo::ws2posix {
namespace {

using namespace std::chrono_literals;

// An interface list of the test's making, linked as getifaddrs links its own.
class TInterfaceList {
 public:
  struct TInterface {
    const char* Name;
    int Family;  // AF_INET, AF_INET6, AF_PACKET, or -1 for an entry without an address
    TIPv4 Address;
    unsigned Flags;
  };

  explicit TInterfaceList(const std::vector<TInterface>& interfaces)
      : FEntries(interfaces.size()), FAddresses(interfaces.size()) {
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
      const TInterface& given = interfaces[i];
      ifaddrs& entry = FEntries[i];
      entry.ifa_next = i + 1 < FEntries.size() ? &FEntries[i + 1] : nullptr;
      entry.ifa_name = const_cast<char*>(given.Name);
      entry.ifa_flags = given.Flags;
      sockaddr_in& address = FAddresses[i];
      address.sin_family = static_cast<sa_family_t>(given.Family);
      std::memcpy(&address.sin_addr, given.Address.data(), 4);
      entry.ifa_addr = given.Family < 0 ? nullptr : reinterpret_cast<sockaddr*>(&address);
    }
  }

  const ifaddrs* First() const { return FEntries.empty() ? nullptr : FEntries.data(); }

 private:
  std::vector<ifaddrs> FEntries;
  std::vector<sockaddr_in> FAddresses;
};

constexpr unsigned kUp = IFF_UP | IFF_RUNNING;

TEST(LocalHostAddressesTest, AreTheRunningNonLoopbackIPv4AddressesInListOrderOrLoopbackAlone) {
  const TInterfaceList machine({
      {"lo", AF_INET, {127, 0, 0, 1}, kUp | IFF_LOOPBACK},
      {"eth0", AF_PACKET, {}, kUp},
      {"eth1", AF_INET, {10, 0, 0, 9}, IFF_BROADCAST},  // down
      {"eth3", AF_INET, {10, 0, 0, 8}, IFF_UP},         // up, but no carrier
      {"eth0", AF_INET, {192, 0, 2, 2}, kUp},
      {"tun0", -1, {}, kUp | IFF_POINTOPOINT},
      {"eth0", AF_INET6, {254, 128, 0, 0}, kUp},
      {"eth2", AF_INET, {198, 51, 100, 7}, kUp},
      {"eth2", AF_INET, {192, 0, 2, 2}, kUp},  // the same address twice is given once
  });
  EXPECT_EQ(LocalHostAddresses(machine.First()),
            (std::vector<TIPv4>{{192, 0, 2, 2}, {198, 51, 100, 7}}));

  const TInterfaceList isolated({
      {"lo", AF_INET, {127, 0, 0, 1}, kUp | IFF_LOOPBACK},
      {"eth0", AF_INET, {192, 0, 2, 2}, 0},
  });
  const std::vector<TIPv4> loopback{{127, 0, 0, 1}};
  EXPECT_EQ(LocalHostAddresses(isolated.First()), loopback);
  EXPECT_EQ(LocalHostAddresses(nullptr), loopback);
}

// A machine of the test's making, linked in place of the real one: a clock the test moves, a
// host name, and a resolver that counts its look-ups and knows the names beginning with "logs".
std::atomic<THostResolver::TClock::duration> gClock{THostResolver::TClock::duration(1h)};
std::atomic<int> gLookUps{0};
std::atomic<bool> gUnknown{false};

// A different address for each name the test uses: its length and its last character.
TIPv4 AddressOf(const std::string& name) {
  return {10, 0, static_cast<std::uint8_t>(name.size()), static_cast<std::uint8_t>(name.back())};
}

}  // namespace

namespace machine {

std::string OwnHostName() {
  return "Build-Host";
}

std::vector<TIPv4> InterfaceAddresses() {
  return {{192, 0, 2, 2}, {198, 51, 100, 7}};
}

std::int32_t LookUpName(const std::string& name, THostAnswer& answer) {
  ++gLookUps;
  if (gUnknown.load() || name.rfind("logs", 0) != 0)
    return 11001;
  answer.Name = "the." + name;
  answer.Addresses = {AddressOf(name)};
  return 0;
}

std::chrono::steady_clock::time_point Now() {
  return std::chrono::steady_clock::time_point(gClock.load());
}

}  // namespace machine

namespace {

class HostResolverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLookUps = 0;
    gUnknown = false;
  }

  THostResolver FResolver;
};

TEST_F(HostResolverTest, TheOwnNameInAnyCaseAndTheEmptyNameAreTheLocalHost) {
  THostAnswer answer;
  for (const char* local : {"Build-Host", "build-host", "BUILD-HOST", ""}) {
    ASSERT_EQ(FResolver.Resolve(local, answer), 0) << local;
    EXPECT_EQ(answer.Name, "Build-Host") << local;
    EXPECT_EQ(answer.Addresses, (std::vector<TIPv4>{{192, 0, 2, 2}, {198, 51, 100, 7}})) << local;
  }
  EXPECT_EQ(gLookUps, 0);
  EXPECT_EQ(FResolver.Resolve("Build-Host2", answer), 11001);
  EXPECT_EQ(FResolver.Resolve("Build-Hos", answer), 11001);
  EXPECT_EQ(gLookUps, 2);
}

TEST_F(HostResolverTest, AnAnswerLivesOneSecondAndAFailureIsNotKept) {
  THostAnswer answer;
  gUnknown = true;
  EXPECT_EQ(FResolver.Resolve("logs", answer), 11001);
  gUnknown = false;
  ASSERT_EQ(FResolver.Resolve("logs", answer), 0);
  EXPECT_EQ(gLookUps, 2);
  gClock = gClock.load() + 999ms;
  gUnknown = true;  // what is kept answers without asking
  ASSERT_EQ(FResolver.Resolve("logs", answer), 0);
  EXPECT_EQ(answer.Name, "the.logs");
  EXPECT_EQ(answer.Addresses, std::vector<TIPv4>{AddressOf("logs")});
  EXPECT_EQ(gLookUps, 2);
  gClock = gClock.load() + 1ms;
  EXPECT_EQ(FResolver.Resolve("logs", answer), 11001);
  EXPECT_EQ(gLookUps, 3);

  // The name asked may lie in the answer that the look-up overwrites, as when a caller hands
  // back the name of the entry it was given: the answer is kept under the name asked.
  gUnknown = false;
  answer.Name = "logs";
  ASSERT_EQ(FResolver.Resolve(answer.Name, answer), 0);
  gUnknown = true;
  EXPECT_EQ(FResolver.Resolve("logs", answer), 0);
  EXPECT_EQ(gLookUps, 4);
}

// Two threads resolve a name each while their answers keep expiring and being kept anew: each
// must always get its own name's answer.
TEST_F(HostResolverTest, ThreadsResolvingTwoNamesAtOnceGetTheirOwnAnswers) {
  const auto resolveMany = [&](const std::string& name) {
    THostAnswer answer;
    int wrong = 0;
    for (int i = 0; i < 20'000; ++i) {
      gClock = gClock.load() + 100ms;
      if (FResolver.Resolve(name, answer) != 0 || answer.Name != "the." + name ||
          answer.Addresses != std::vector<TIPv4>{AddressOf(name)})
        ++wrong;
    }
    return wrong;
  };
  int wrongInOther = -1;
  std::thread other([&] { wrongInOther = resolveMany("logs-a.example.org"); });
  const int wrongHere = resolveMany("logs-b");
  other.join();
  EXPECT_EQ(wrongHere, 0);
  EXPECT_EQ(wrongInOther, 0);
  EXPECT_GT(gLookUps, 2) << "the answers never expired";
}

}  // namespace
}  // namespace orvo::ws2posix
