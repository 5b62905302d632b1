#include "syslog/IdSysLogMsgPart.h"

#include <array>
#include <charconv>

#include "base/Text.h"

namespace orvo {

namespace {

constexpr std::size_t kMaxTagAndPidPart = 32;

// The part before the first colon, when that colon stands past the first character; a colon in
// the first position separates nothing.
struct Head {
  bool Tagged = false;
  std::string_view Text;
};

Head HeadOf(std::string_view text) noexcept {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0)
    return {};
  return {true, text.substr(0, colon)};
}

std::string_view TagOf(std::string_view text) noexcept {
  const Head head = HeadOf(text);
  return head.Text.substr(0, head.Text.find('['));
}

std::string_view ContentOf(std::string_view text) noexcept {
  const Head head = HeadOf(text);
  return head.Tagged ? text.substr(head.Text.size() + 1) : text;
}

// What stands between the first "[" of the head and the "]" after it; empty when nothing does.
std::string_view PidTextOf(std::string_view text) noexcept {
  const Head head = HeadOf(text);
  const std::size_t open = head.Text.find('[');
  if (open == std::string_view::npos)
    return {};
  const std::string_view digits = head.Text.substr(open + 1);
  return digits.substr(0, digits.find(']'));
}

std::int32_t PidOf(std::string_view text) {
  const std::string_view digits = PidTextOf(text);
  return digits.empty() ? -1 : text::ReadInteger(digits);
}

}  // namespace

void TIdSysLogMsgPart::SetPIDAvailable(bool value) {
  const std::string_view tag = TagOf(FText);
  const std::int32_t pid = PidOf(FText);
  const std::string_view content = ContentOf(FText);
  FPIDAvailable = value;
  Rebuild(tag, FormatPidPart(pid), content);
  if (!value && FText == ":")
    FText.clear();
}

std::string TIdSysLogMsgPart::Process() const {
  return std::string(TagOf(FText));
}

void TIdSysLogMsgPart::SetProcess(std::string_view value) {
  const std::string pidPart = FormatPidPart(PidOf(FText));
  const std::size_t maxLength =
      pidPart.size() < kMaxTagAndPidPart ? kMaxTagAndPidPart - pidPart.size() : 0;
  const std::string_view tag = syslog::KeepLeadingAlnum(value.substr(0, maxLength));
  Rebuild(tag, pidPart, ContentOf(FText));
}

std::int32_t TIdSysLogMsgPart::PID() const {
  return PidOf(FText);
}

void TIdSysLogMsgPart::SetPID(std::int32_t value) {
  RebuildWithPid(value, ContentOf(FText));
}

std::string TIdSysLogMsgPart::Content() const {
  return std::string(ContentOf(FText));
}

void TIdSysLogMsgPart::SetContent(std::string_view value) {
  RebuildWithPid(PidOf(FText), value);
}

void TIdSysLogMsgPart::Assign(const TIdSysLogMsgPart& source) {
  FText = source.FText;
}

std::string TIdSysLogMsgPart::FormatPidPart(std::int32_t pid) const {
  if (!FPIDAvailable)
    return ":";
  // "[", at most 11 characters of a signed 32-bit number, "]:".
  std::array<char, 16> buffer{};
  buffer[0] = '[';
  char* end = std::to_chars(buffer.data() + 1, buffer.data() + buffer.size() - 2, pid).ptr;
  *end++ = ']';
  *end++ = ':';
  return std::string(buffer.data(), end);
}

void TIdSysLogMsgPart::RebuildWithPid(std::int32_t pid, std::string_view content) {
  Rebuild(TagOf(FText), FormatPidPart(pid), content);
}

// tag, pidPart and content may all point into FText, so the text is built beside it.
void TIdSysLogMsgPart::Rebuild(std::string_view tag, std::string_view pidPart,
                               std::string_view content) {
  std::string text;
  text.reserve(tag.size() + pidPart.size() + content.size());
  text.append(tag).append(pidPart).append(content);
  FText = std::move(text);
}

namespace syslog {

std::string_view KeepLeadingAlnum(std::string_view text) noexcept {
  std::size_t length = 0;
  while (length < text.size()) {
    const char c = text[length];
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum)
      break;
    ++length;
  }
  return text.substr(0, length);
}

}  // namespace syslog

}  // namespace orvo
