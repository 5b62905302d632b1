#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writes version blocks in the ANSI VS_VERSIONINFO layout that VerQueryValueA reads: the build
// uses it for the program's own block, tests for blocks of their own making.
namespace orvo::platform::verblock {

struct TVersionNode {
  std::string Key;
  std::vector<std::uint8_t> Value;
  std::vector<TVersionNode> Children;
};

// A node's bytes: length, value length, key and its zero, padding to 4, value, padding to 4,
// children. Raises std::length_error when a node would exceed 65535 bytes.
std::vector<std::uint8_t> Serialize(const TVersionNode& node);

// The bytes of a string value: the text and one terminating zero.
std::vector<std::uint8_t> StringValue(std::string_view text);

struct TStringTable {
  std::uint16_t Language;
  std::uint16_t CodePage;
  std::vector<std::pair<std::string, std::string>> Values;
};

// A whole VS_VERSION_INFO tree: the fixed file information for major.minor, one string table
// per entry of tables and a translation list naming the tables in their order.
TVersionNode VersionInfo(std::uint16_t major, std::uint16_t minor,
                         const std::vector<TStringTable>& tables);

// The program's own tree: one string table in Japanese (0x0411) and Shift JIS (932) naming the
// company, description, file and product as name, and file and product version major.minor.
TVersionNode ProgramVersionInfo(const std::string& name, std::uint16_t major, std::uint16_t minor);

}  // namespace orvo::platform::verblock
