#include "platform/tools/VersionBlockWriter.h"

#include <stdexcept>

namespace orvo::platform::verblock {

namespace {

void PadTo4(std::vector<std::uint8_t>& bytes) {
  while (bytes.size() % 4 != 0)
    bytes.push_back(0);
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t value) {
  if (value > 0xFFFF)
    throw std::length_error("version block node longer than 65535 bytes");
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void AppendDword(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// VS_FIXEDFILEINFO of a 32-bit Windows application with the same file and product version.
std::vector<std::uint8_t> FixedFileInfo(std::uint16_t major, std::uint16_t minor) {
  const std::uint32_t versionHigh = (static_cast<std::uint32_t>(major) << 16) | minor;
  std::vector<std::uint8_t> info;
  for (std::uint32_t field : {0xFEEF04BDu, 0x00010000u, versionHigh, 0u, versionHigh, 0u, 0x3Fu, 0u,
                              0x00040004u, 1u, 0u, 0u, 0u})
    AppendDword(info, field);
  return info;
}

std::string HexWord(std::uint16_t value) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i, value = static_cast<std::uint16_t>(value >> 4))
    text[static_cast<std::size_t>(i)] = digits[value & 0xF];
  return text;
}

}  // namespace

std::vector<std::uint8_t> Serialize(const TVersionNode& node) {
  std::vector<std::uint8_t> bytes(4, 0);
  for (char c : node.Key)
    bytes.push_back(static_cast<std::uint8_t>(c));
  bytes.push_back(0);
  PadTo4(bytes);
  bytes.insert(bytes.end(), node.Value.begin(), node.Value.end());
  for (const TVersionNode& child : node.Children) {
    PadTo4(bytes);
    const std::vector<std::uint8_t> childBytes = Serialize(child);
    bytes.insert(bytes.end(), childBytes.begin(), childBytes.end());
  }
  PutWord(bytes, 0, bytes.size());
  PutWord(bytes, 2, node.Value.size());
  return bytes;
}

std::vector<std::uint8_t> StringValue(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TVersionNode VersionInfo(std::uint16_t major, std::uint16_t minor,
                         const std::vector<TStringTable>& tables) {
  TVersionNode strings{"StringFileInfo", {}, {}};
  std::vector<std::uint8_t> translations;
  for (const TStringTable& table : tables) {
    TVersionNode tableNode{HexWord(table.Language) + HexWord(table.CodePage), {}, {}};
    for (const auto& [key, value] : table.Values)
      tableNode.Children.push_back({key, StringValue(value), {}});
    strings.Children.push_back(std::move(tableNode));
    AppendDword(translations, (static_cast<std::uint32_t>(table.CodePage) << 16) | table.Language);
  }
  TVersionNode variables{"VarFileInfo", {}, {{"Translation", translations, {}}}};
  return {
      "VS_VERSION_INFO", FixedFileInfo(major, minor), {std::move(strings), std::move(variables)}};
}

TVersionNode ProgramVersionInfo(const std::string& name, std::uint16_t major, std::uint16_t minor) {
  constexpr std::uint16_t Japanese = 0x0411;
  constexpr std::uint16_t ShiftJis = 932;
  const std::string version = std::to_string(major) + "." + std::to_string(minor);
  const TStringTable table{Japanese,
                           ShiftJis,
                           {{"CompanyName", "orvologger project"},
                            {"FileDescription", "Command-line syslog client"},
                            {"FileVersion", version},
                            {"InternalName", name},
                            {"OriginalFilename", name},
                            {"ProductName", name},
                            {"ProductVersion", version}}};
  return VersionInfo(major, minor, {table});
}

}  // namespace orvo::platform::verblock
