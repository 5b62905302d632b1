#include "net/IdComponent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "net/IdStack.h"
#include "net/IdUDPClient.h"
#include "net/IdWinSock2.h"

namespace orvo {
namespace {

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(StackUserCount(), 0);
    ASSERT_EQ(SharedStack(), nullptr);
  }
  void TearDown() override { ws2::SetLibraryLoader(nullptr); }
};

TEST_F(ComponentTest, SharedStackLivesFromTheFirstComponentToTheLast) {
  auto first = std::make_unique<TIdUDPClient>();
  EXPECT_EQ(StackUserCount(), 1);
  TIdStack* stack = SharedStack();
  ASSERT_NE(stack, nullptr);

  auto second = std::make_unique<TIdComponent>();
  auto third = std::make_unique<TIdUDPClient>();
  EXPECT_EQ(StackUserCount(), 3);
  EXPECT_EQ(SharedStack(), stack);

  first.reset();
  third.reset();
  EXPECT_EQ(StackUserCount(), 1);
  EXPECT_EQ(SharedStack(), stack);
  second.reset();
  EXPECT_EQ(StackUserCount(), 0);
  EXPECT_EQ(SharedStack(), nullptr);
}

TEST_F(ComponentTest, BaseComponentsDoNotCount) {
  TIdBaseComponent plain;
  EXPECT_EQ(StackUserCount(), 0);
  EXPECT_EQ(SharedStack(), nullptr);
}

TEST_F(ComponentTest, ExchangeSharedStackHandsBackTheReplacedStack) {
  std::unique_ptr<TIdStack> made = NewStack();
  TIdStack* raw = made.get();
  EXPECT_EQ(ExchangeSharedStack(std::move(made)), nullptr);
  EXPECT_EQ(SharedStack(), raw);
  std::unique_ptr<TIdStack> back = ExchangeSharedStack(nullptr);
  EXPECT_EQ(back.get(), raw);
  EXPECT_EQ(SharedStack(), nullptr);
}

TEST_F(ComponentTest, FailedStackLeavesTheCountAsIfNoComponentWasMade) {
  ws2::UnloadLibrary();
  ws2::SetLibraryLoader([] { return platform::LoadLibraryA("orvo-no-such-library.dll"); });
  EXPECT_THROW(TIdUDPClient client, EIdWS2StubError);
  EXPECT_EQ(StackUserCount(), 0);
  EXPECT_EQ(SharedStack(), nullptr);

  ws2::SetLibraryLoader(nullptr);
  TIdUDPClient client;
  EXPECT_EQ(StackUserCount(), 1);
  EXPECT_NE(SharedStack(), nullptr);
}

TEST_F(ComponentTest, ComponentsMadeAndDestroyedOnSeveralThreadsKeepTheCountRight) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 200;
  TIdComponent keeper;  // holds the stack so its pointer can be compared throughout
  TIdStack* stack = SharedStack();
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < kRounds; ++round) {
        TIdComponent component;
        if (SharedStack() != stack || StackUserCount() < 2)
          ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(StackUserCount(), 1);
}

TEST_F(ComponentTest, StackIsMadeAndReleasedAgainWhenThreadsComeAndGo) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 100;
  std::atomic<int> missing{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < kRounds; ++round) {
        TIdComponent component;
        if (SharedStack() == nullptr)
          ++missing;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(missing.load(), 0);
  EXPECT_EQ(StackUserCount(), 0);
  EXPECT_EQ(SharedStack(), nullptr);
}

}  // namespace
}  // namespace orvo
