#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "base/Text.h"
#include "platform/VersionInfo.h"

namespace orvo::platform {

namespace {

// One node of a block: its extent and the parts inside it, all checked against the extent.
struct TNode {
  std::uint32_t Start;
  std::uint32_t End;  // the node's length, cut to what its parent holds
  std::string_view Key;
  std::uint32_t ValueStart;
  std::uint32_t ValueLength;
  std::uint32_t ChildrenStart;
};

std::uint32_t AlignTo4(std::uint32_t offset) {
  return (offset + 3u) & ~3u;
}

std::uint16_t ReadWord(const unsigned char* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

// Reads the node at start within [start, limit); nothing when it doesn't fit.
std::optional<TNode> ReadNode(const unsigned char* block, std::uint32_t start,
                              std::uint32_t limit) {
  if (start > limit || limit - start < 5)
    return std::nullopt;
  const std::uint32_t length = ReadWord(block + start);
  if (length < 5)
    return std::nullopt;
  // A node's length is 16 bits and nodes lie inside the root, so offsets stay far below 2^32.
  const std::uint32_t end = std::min(limit, start + length);
  const auto* keyStart = reinterpret_cast<const char*>(block + start + 4);
  const auto* keyEnd = static_cast<const char*>(std::memchr(keyStart, '\0', end - start - 4));
  if (keyEnd == nullptr)
    return std::nullopt;
  TNode node{start,
             end,
             std::string_view(keyStart, static_cast<std::size_t>(keyEnd - keyStart)),
             0,
             ReadWord(block + start + 2),
             0};
  node.ValueStart =
      std::min(end, AlignTo4(start + 4 + static_cast<std::uint32_t>(node.Key.size()) + 1));
  node.ValueLength = std::min(node.ValueLength, end - node.ValueStart);
  node.ChildrenStart = std::min(end, AlignTo4(node.ValueStart + node.ValueLength));
  return node;
}

std::optional<TNode> FindChild(const unsigned char* block, const TNode& parent,
                               std::string_view key) {
  std::uint32_t at = parent.ChildrenStart;
  while (at < parent.End) {
    const auto child = ReadNode(block, at, parent.End);
    if (!child)
      return std::nullopt;
    if (text::EqualsIgnoringCase(child->Key, key))
      return child;
    at = AlignTo4(at + ReadWord(block + at));
  }
  return std::nullopt;
}

}  // namespace

bool VerQueryValueA(const void* block, std::uint32_t blockSize, const char* subBlock,
                    const void** buffer, std::uint32_t* length) noexcept {
  if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr)
    return false;
  const auto* bytes = static_cast<const unsigned char*>(block);
  auto node = ReadNode(bytes, 0, blockSize);
  std::string_view path = subBlock;
  while (node) {
    while (path.starts_with('\\'))
      path.remove_prefix(1);
    if (path.empty()) {
      *buffer = bytes + node->ValueStart;
      *length = node->ValueLength;
      return true;
    }
    const std::size_t end = std::min(path.find('\\'), path.size());
    node = FindChild(bytes, *node, path.substr(0, end));
    path.remove_prefix(end);
  }
  return false;
}

}  // namespace orvo::platform
