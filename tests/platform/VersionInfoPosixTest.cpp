#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/VersionInfo.h"

namespace orvo::platform {

namespace {
constexpr std::uint8_t kBlock[] = {12, 0, 0, 0, 'k', 0, 0, 0, 1, 2, 3, 4};
}  // namespace

// Linked in place of the source the build writes for the program.
std::span<const std::uint8_t> ProgramVersionBlock() noexcept {
  return kBlock;
}

namespace {

TEST(VersionInfoTest, OnlyTheProgramsOwnFileHasItsLinkedBlock) {
  const std::string own = ModuleFileName();
  ASSERT_FALSE(own.empty());
  std::uint32_t handle = 99;
  ASSERT_EQ(GetFileVersionInfoSizeA(own.c_str(), &handle), sizeof kBlock);
  EXPECT_EQ(handle, 0u);
  std::vector<std::uint8_t> into(sizeof kBlock + 2, 0xAA);
  ASSERT_TRUE(GetFileVersionInfoA(own.c_str(), 0, sizeof kBlock, into.data()));
  EXPECT_EQ(std::vector<std::uint8_t>(into.begin(), into.begin() + sizeof kBlock),
            std::vector<std::uint8_t>(std::begin(kBlock), std::end(kBlock)));
  EXPECT_EQ(into[sizeof kBlock], 0xAA);
  into.assign(into.size(), 0xAA);
  ASSERT_TRUE(GetFileVersionInfoA(own.c_str(), 0, 5, into.data()));
  EXPECT_EQ(into[4], 'k');
  EXPECT_EQ(into[5], 0xAA) << "no more than the given size is copied";

  for (const std::string& other :
       {own + "x", own.substr(0, own.size() - 1), std::string("/bin/sh"), std::string()}) {
    handle = 99;
    EXPECT_EQ(GetFileVersionInfoSizeA(other.c_str(), &handle), 0u) << other;
    EXPECT_EQ(handle, 0u);
    EXPECT_FALSE(GetFileVersionInfoA(other.c_str(), 0, sizeof kBlock, into.data())) << other;
  }
  EXPECT_EQ(GetFileVersionInfoSizeA(nullptr, nullptr), 0u);
}

}  // namespace
}  // namespace orvo::platform
