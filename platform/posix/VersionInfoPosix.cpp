#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>

#include <elf.h>

#include "platform/VersionInfo.h"

namespace orvo::platform {

namespace {

// Where the version section's bytes lie in the file.
struct TSectionPlace {
  std::uint64_t Offset;
  std::uint64_t Size;
};

// Reads exactly size bytes at offset; false when the file is shorter or fails.
bool ReadAt(std::ifstream& file, std::uint64_t offset, void* into, std::size_t size) {
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max()))
    return false;
  file.clear();
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
  return file.gcount() == static_cast<std::streamsize>(size);
}

// An unsigned field of size bytes at at, in the file's byte order: the file is the program
// itself, in its processor's order, or any other ELF file of either order.
std::uint64_t Decode(const unsigned char* at, std::size_t size, bool bigEndian) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i)
    value = (value << 8) | at[bigEndian ? i : size - 1 - i];
  return value;
}

// The fields of a section header that the search reads.
struct TSection {
  std::uint64_t Name;
  std::uint64_t Type;
  std::uint64_t Link;
  std::uint64_t Offset;
  std::uint64_t Size;
};

// The ELF header and section header types of one file class give the fields' places and sizes.
template <typename Ehdr, typename Shdr>
std::optional<TSectionPlace> FindSectionIn(std::ifstream& file, bool bigEndian) {
  unsigned char header[sizeof(Ehdr)];
  if (!ReadAt(file, 0, header, sizeof header))
    return std::nullopt;
  const auto headerField = [&](std::size_t offset, std::size_t size) {
    return Decode(header + offset, size, bigEndian);
  };
  const std::uint64_t sectionsOffset = headerField(offsetof(Ehdr, e_shoff), sizeof(Ehdr::e_shoff));
  const std::uint64_t entrySize =
      headerField(offsetof(Ehdr, e_shentsize), sizeof(Ehdr::e_shentsize));
  if (sectionsOffset == 0 || entrySize < sizeof(Shdr))
    return std::nullopt;

  const auto sectionHeader = [&](std::uint64_t index) -> std::optional<TSection> {
    unsigned char raw[sizeof(Shdr)];
    if (!ReadAt(file, sectionsOffset + index * entrySize, raw, sizeof raw))
      return std::nullopt;
    const auto field = [&](std::size_t offset, std::size_t size) {
      return Decode(raw + offset, size, bigEndian);
    };
    return TSection{field(offsetof(Shdr, sh_name), sizeof(Shdr::sh_name)),
                    field(offsetof(Shdr, sh_type), sizeof(Shdr::sh_type)),
                    field(offsetof(Shdr, sh_link), sizeof(Shdr::sh_link)),
                    field(offsetof(Shdr, sh_offset), sizeof(Shdr::sh_offset)),
                    field(offsetof(Shdr, sh_size), sizeof(Shdr::sh_size))};
  };

  // Files with very many sections keep the count and the name table index in section 0.
  std::uint64_t count = headerField(offsetof(Ehdr, e_shnum), sizeof(Ehdr::e_shnum));
  std::uint64_t namesIndex = headerField(offsetof(Ehdr, e_shstrndx), sizeof(Ehdr::e_shstrndx));
  if (count == 0 || namesIndex == SHN_XINDEX) {
    const auto first = sectionHeader(0);
    if (!first)
      return std::nullopt;
    if (count == 0)
      count = first->Size;
    if (namesIndex == SHN_XINDEX)
      namesIndex = first->Link;
  }
  if (namesIndex >= count)
    return std::nullopt;
  const auto names = sectionHeader(namesIndex);
  if (!names || names->Type == SHT_NOBITS)
    return std::nullopt;

  const std::string_view wanted = VersionSectionName;
  std::string candidate(wanted.size() + 1, '\0');
  for (std::uint64_t index = 1; index < count; ++index) {
    const auto section = sectionHeader(index);
    if (!section)
      return std::nullopt;
    if (section->Name >= names->Size || section->Type == SHT_NOBITS)
      continue;
    // The name must end inside the name table right after the wanted characters.
    const std::uint64_t room = names->Size - section->Name;
    if (room < candidate.size())
      continue;
    if (!ReadAt(file, names->Offset + section->Name, candidate.data(), candidate.size()))
      continue;
    if (std::string_view(candidate).substr(0, wanted.size()) == wanted && candidate.back() == '\0')
      return TSectionPlace{section->Offset, section->Size};
  }
  return std::nullopt;
}

std::optional<TSectionPlace> FindVersionSection(std::ifstream& file) {
  unsigned char ident[EI_NIDENT];
  if (!ReadAt(file, 0, ident, sizeof ident))
    return std::nullopt;
  if (std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
      (ident[EI_DATA] != ELFDATA2LSB && ident[EI_DATA] != ELFDATA2MSB))
    return std::nullopt;
  const bool bigEndian = ident[EI_DATA] == ELFDATA2MSB;
  if (ident[EI_CLASS] == ELFCLASS64)
    return FindSectionIn<Elf64_Ehdr, Elf64_Shdr>(file, bigEndian);
  if (ident[EI_CLASS] == ELFCLASS32)
    return FindSectionIn<Elf32_Ehdr, Elf32_Shdr>(file, bigEndian);
  return std::nullopt;
}

std::optional<TSectionPlace> VersionSectionOf(const char* fileName, std::ifstream& file) {
  if (fileName == nullptr)
    return std::nullopt;
  file.open(fileName, std::ios::binary);
  if (!file)
    return std::nullopt;
  const auto place = FindVersionSection(file);
  if (!place || place->Size > std::numeric_limits<std::uint32_t>::max())
    return std::nullopt;
  return place;
}

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

bool SameKey(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<TNode> FindChild(const unsigned char* block, const TNode& parent,
                               std::string_view key) {
  std::uint32_t at = parent.ChildrenStart;
  while (at < parent.End) {
    const auto child = ReadNode(block, at, parent.End);
    if (!child)
      return std::nullopt;
    if (SameKey(child->Key, key))
      return child;
    at = AlignTo4(at + ReadWord(block + at));
  }
  return std::nullopt;
}

}  // namespace

std::uint32_t GetFileVersionInfoSizeA(const char* fileName, std::uint32_t* handle) noexcept {
  if (handle != nullptr)
    *handle = 0;
  try {
    std::ifstream file;
    const auto place = VersionSectionOf(fileName, file);
    return place ? static_cast<std::uint32_t>(place->Size) : 0;
  } catch (...) {
    return 0;
  }
}

bool GetFileVersionInfoA(const char* fileName, std::uint32_t, std::uint32_t size,
                         void* data) noexcept {
  if (data == nullptr)
    return false;
  try {
    std::ifstream file;
    const auto place = VersionSectionOf(fileName, file);
    if (!place)
      return false;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(size, place->Size));
    return ReadAt(file, place->Offset, data, count);
  } catch (...) {
    return false;
  }
}

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
