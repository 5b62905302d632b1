#include "syslog/IdSysLogMsgPart.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

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
  if (!value && FText == ":") {
    FText.clear();
    FHeadLength = kUnknownHead;
  }
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
  if (FHeadLength == kUnknownHead) {
    RebuildWithPid(PidOf(FText), value);
    return;
  }
  // Only what follows the head changes; the string copies a value taken from itself safely.
  FText.replace(FHeadLength, std::string::npos, value);
}

void TIdSysLogMsgPart::Assign(const TIdSysLogMsgPart& source) {
  FText = source.FText;
  FHeadLength = kUnknownHead;
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

void TIdSysLogMsgPart::Rebuild(std::string_view tag, std::string_view pidPart,
                               std::string_view content) {
  const std::size_t headLength = tag.size() + pidPart.size();
  ReplaceText(tag, pidPart, content);
  const std::string_view head = std::string_view(FText).substr(0, headLength);
  FHeadLength = HeadReadsBack(head) ? headLength : kUnknownHead;
}

// A head holding a colon decides tag and PID alone, whatever content follows it; when it also
// reads back as the same tag and PID part, a Content write would rebuild exactly that head.
bool TIdSysLogMsgPart::HeadReadsBack(std::string_view head) const {
  if (head.find(':') == std::string_view::npos)
    return false;
  const std::string_view digits = PidTextOf(head);
  const std::optional<std::int32_t> pid =
      digits.empty() ? std::optional<std::int32_t>(-1) : text::TryReadInteger(digits);
  if (!pid)
    return false;
  const std::string_view tag = TagOf(head);
  const std::string pidPart = FormatPidPart(*pid);
  return head.size() == tag.size() + pidPart.size() && head.starts_with(tag) &&
         head.substr(tag.size()) == pidPart;
}

// tag, pidPart and content may all point into FText. When the text already begins with the
// tag and PID part, only the content is replaced in place (the string copies a content taken
// from itself safely), so a steady stream of writes reuses the text's storage; otherwise the
// text is built anew beside the old one.
void TIdSysLogMsgPart::ReplaceText(std::string_view tag, std::string_view pidPart,
                                   std::string_view content) {
  const std::size_t headLength = tag.size() + pidPart.size();
  const bool headKept = FText.size() >= headLength && FText.compare(0, tag.size(), tag) == 0 &&
                        FText.compare(tag.size(), pidPart.size(), pidPart) == 0;
  if (headKept) {
    FText.replace(headLength, std::string::npos, content);
    return;
  }
  std::string text;
  text.reserve(headLength + content.size());
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
