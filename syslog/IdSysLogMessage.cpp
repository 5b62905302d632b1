#include "syslog/IdSysLogMessage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <utility>

#include "base/Text.h"
#include "net/IdComponent.h"
#include "net/IdStack.h"
#include "platform/Clock.h"

namespace orvo {

namespace {

constexpr std::int32_t kDefaultPri = 13;
constexpr std::size_t kTimeStampLength = 16;
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

[[noreturn]] void RaiseBadPriNumber(std::string_view number) {
  throw EInvalidSyslogMessage("Invalid syslog message: incorrect PRI number \"" +
                              std::string(number) + "\"");
}

bool IsDecimalDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

// The digits of a PRI section ("<", at most four digits, ">") at `at`, or nullopt.
std::optional<std::string_view> PriDigitsAt(std::string_view raw, std::size_t at) noexcept {
  if (at >= raw.size() || raw[at] != '<')
    return std::nullopt;
  const std::string_view after = raw.substr(at + 1, 5);
  const std::size_t close = after.find('>');
  if (close == std::string_view::npos || close > 4)
    return std::nullopt;
  const std::string_view digits = after.substr(0, close);
  if (!std::all_of(digits.begin(), digits.end(), IsDecimalDigit))
    return std::nullopt;
  return digits;
}

// Appends as much of `part` as the datagram still takes; `text` is never longer than that.
void AppendWithinDatagram(std::string& text, std::string_view part) {
  text.append(part.substr(0, syslog::kMaxDatagramSize - text.size()));
}

bool HasSpace(std::string_view hostname) noexcept {
  return hostname.find(' ') != std::string_view::npos;
}

[[noreturn]] void RaiseHostnameWithSpace(std::string_view hostname) {
  throw EInvalidSyslogMessage("Invalid host name. A SYSLOG host name cannot contain any space (\"" +
                              std::string(hostname) + "\")+");
}

// A stack of its own as SharedStack while it lives, for reading the local address when no
// network component has one; its maker holds StackLock throughout.
class ShortLivedSharedStack {
 public:
  ShortLivedSharedStack() : FPrevious(ExchangeSharedStack(NewStack())) {}
  ~ShortLivedSharedStack() {
    const std::unique_ptr<TIdStack> own = ExchangeSharedStack(std::move(FPrevious));
  }
  ShortLivedSharedStack(const ShortLivedSharedStack&) = delete;
  ShortLivedSharedStack& operator=(const ShortLivedSharedStack&) = delete;

 private:
  std::unique_ptr<TIdStack> FPrevious;
};

// Under StackLock, so a component on another thread neither frees the stack read nor sees ours.
std::string FirstLocalAddress() {
  const std::lock_guard<std::mutex> guard(StackLock());
  if (TIdStack* stack = SharedStack())
    return stack->FirstLocalAddress();
  const ShortLivedSharedStack temporary;
  return SharedStack()->FirstLocalAddress();
}

// A two-character time field, trimmed and read as an integer; one that does not read counts as 0.
int TimeFieldValue(std::string_view field) noexcept {
  return text::TryReadInteger(text::TrimView(field)).value_or(0);
}

char* WriteTwoDigits(char* out, int value) noexcept {
  *out++ = static_cast<char>('0' + value / 10);
  *out++ = static_cast<char>('0' + value % 10);
  return out;
}

// "Mmm dd hh:mm:ss" with the day padded by a space; the milliseconds are dropped.
constexpr std::size_t kTimeTextLength = 15;

char* WriteTimeText(char* out, const TDateTimeParts& time) noexcept {
  out = std::copy(kMonthNames[time.Month - 1].begin(), kMonthNames[time.Month - 1].end(), out);
  *out++ = ' ';
  if (time.Day < 10) {
    *out++ = ' ';
    *out++ = static_cast<char>('0' + time.Day);
  } else {
    out = WriteTwoDigits(out, time.Day);
  }
  *out++ = ' ';
  out = WriteTwoDigits(out, time.Hour);
  *out++ = ':';
  out = WriteTwoDigits(out, time.Minute);
  *out++ = ':';
  return WriteTwoDigits(out, time.Second);
}

}  // namespace

TIdSysLogMessage::TIdSysLogMessage() : FMsg(std::make_unique<TIdSysLogMsgPart>()) {
  SetHostname(FirstLocalAddress());
}

TIdSysLogMessage::~TIdSysLogMessage() = default;

void TIdSysLogMessage::SetMsg(const TIdSysLogMsgPart& part) {
  FMsg->Assign(part);
}

void TIdSysLogMessage::SetFacility(TIdSyslogFacility value) {
  if (value == FFacility)
    return;
  FFacility = value;
  UpdatePri();
}

void TIdSysLogMessage::SetSeverity(TIdSyslogSeverity value) {
  if (value == FSeverity)
    return;
  FSeverity = value;
  UpdatePri();
}

void TIdSysLogMessage::SetHostname(std::string value) {
  if (HasSpace(value))
    RaiseHostnameWithSpace(value);
  FHostname = std::move(value);
}

void TIdSysLogMessage::SetPri(std::int32_t value) {
  if (value == FPri)
    return;
  if (value < 0 || value >= kFacilityCount * kSeverityCount) {
    std::array<char, 16> digits{};
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    RaiseBadPriNumber(std::string_view(digits.data(), end));
  }
  FPri = static_cast<TIdSyslogPRI>(value);
  FFacility = CodeToFacility(value / kSeverityCount);
  FSeverity = CodeToSeverity(value % kSeverityCount);
}

void TIdSysLogMessage::Assign(const TIdSysLogMessage& source) {
  if (this == &source)
    return;
  // The host name is tested first, so that a refused source changes nothing.
  if (HasSpace(source.FHostname))
    RaiseHostnameWithSpace(source.FHostname);
  SetPri(source.FPri);
  FHostname = source.FHostname;
  FMsg->SetText(source.FMsg->Text());
  FTimeStamp = source.FTimeStamp;
}

void TIdSysLogMessage::MaskNonAscii(std::string& text) const {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) >= 128)
      c = '?';
  }
}

void TIdSysLogMessage::ParsePri(std::size_t& position) {
  const std::optional<std::string_view> digits = PriDigitsAt(FRawText, position);
  const std::optional<std::int32_t> value =
      digits && !digits->empty() ? text::TryReadInteger(*digits) : std::nullopt;
  if (value && *value < kFacilityCount * kSeverityCount) {
    SetPri(*value);
    position += digits->size() + 2;
  } else {
    SetPri(kDefaultPri);
  }
}

void TIdSysLogMessage::ParseHeader(std::size_t& position) {
  try {
    const std::string_view raw = FRawText;
    const std::string_view stamp =
        position < raw.size() ? raw.substr(position, kTimeStampLength) : std::string_view();
    FTimeStamp = ParseTimeStamp(stamp);
    position += kTimeStampLength;
    const std::string_view rest = position < raw.size() ? raw.substr(position) : std::string_view();
    const std::size_t space = rest.find(' ');
    FHostname.assign(rest.substr(0, space));
    MaskNonAscii(FHostname);
    position += space == std::string_view::npos ? rest.size() : space + 1;
  } catch (const Exception&) {
    FTimeStamp = platform::GetLocalTime();
    FHostname = FPeerAddress;
  }
}

void TIdSysLogMessage::ParseMsg(std::size_t& position) {
  if (position < FRawText.size()) {
    FMsgText.assign(FRawText, position);
  } else {
    FMsgText.clear();
  }
  FMsg->SetText(FMsgText);
}

void TIdSysLogMessage::ParseRawText() {
  std::size_t position = 0;
  ParsePri(position);
  ParseHeader(position);
  ParseMsg(position);
}

void TIdSysLogMessage::UpdatePri() {
  SetPri(FacilityToCode(FFacility) * kSeverityCount + SeverityToCode(FSeverity));
}

TDateTime TIdSysLogMessage::ParseTimeStamp(std::string_view text) const {
  std::string stamp(text);
  MaskNonAscii(stamp);
  const auto check = [&stamp](bool valid) {
    if (!valid) {
      throw EInvalidSyslogMessage("Invalid syslog message: incorrect timestamp \"" + stamp + "\"");
    }
  };
  TDateTimeParts parts;
  parts.Year = datetime::YearOf(platform::GetLocalTime());
  check(stamp.size() == kTimeStampLength);
  const std::string_view fields = stamp;
  parts.Month = syslog::MonthFromName(fields.substr(0, 3));
  check(parts.Month >= 1 && parts.Month <= 12);
  parts.Day = TimeFieldValue(fields.substr(4, 2));
  check(parts.Day >= 1 && parts.Day <= 31);
  parts.Hour = TimeFieldValue(fields.substr(7, 2));
  check(parts.Hour >= 0 && parts.Hour <= 23);
  parts.Minute = TimeFieldValue(fields.substr(10, 2));
  check(parts.Minute >= 0 && parts.Minute <= 59);
  parts.Second = TimeFieldValue(fields.substr(13, 2));
  check(parts.Second >= 0 && parts.Second <= 59);
  check(fields[15] == ' ');
  return datetime::EncodeDateTime(parts);
}

std::string TIdSysLogMessage::EncodeText() {
  std::string text;
  EncodeTextInto(text, platform::GetLocalTime());
  return text;
}

void TIdSysLogMessage::EncodeTextInto(std::string& text, TDateTime now) {
  RenewTimeStampOfAnotherYear(now);
  // "<PRI>Mmm dd hh:mm:ss " for the longest PRI.
  std::array<char, 21> head{};
  char* out = head.data();
  *out++ = '<';
  out = std::to_chars(out, head.data() + head.size(), static_cast<int>(FPri)).ptr;
  *out++ = '>';
  out = WriteTimeText(out, datetime::DecodeDateTime(FTimeStamp));
  *out++ = ' ';
  text.assign(head.data(), out);
  AppendWithinDatagram(text, FHostname);
  AppendWithinDatagram(text, " ");
  AppendWithinDatagram(text, FMsg->Text());
}

void TIdSysLogMessage::LoadFromDatagram(std::istream& source, std::int64_t size, std::string peer) {
  const auto length = static_cast<std::size_t>(
      std::clamp<std::int64_t>(size, 0, static_cast<std::int64_t>(syslog::kMaxDatagramSize)));
  FPeerAddress = std::move(peer);
  std::string datagram(length, '\0');
  source.read(datagram.data(), static_cast<std::streamsize>(length));
  if (static_cast<std::size_t>(source.gcount()) != length)
    throw EReadError("Stream read error");
  ParseText(std::move(datagram));
}

void TIdSysLogMessage::ParseText(std::string text) {
  FRawText = std::move(text);
  ParseRawText();
}

std::string TIdSysLogMessage::BuildHeader() {
  RenewTimeStampOfAnotherYear(platform::GetLocalTime());
  std::array<char, kTimeTextLength> time{};
  WriteTimeText(time.data(), datetime::DecodeDateTime(FTimeStamp));
  return std::string(time.data(), time.size()) + " " + FHostname;
}

void TIdSysLogMessage::RenewTimeStampOfAnotherYear(TDateTime now) noexcept {
  if (!datetime::SameYear(FTimeStamp, now))
    FTimeStamp = now;
}

namespace syslog {

int MonthFromName(std::string_view text) noexcept {
  for (std::size_t month = 0; month < kMonthNames.size(); ++month) {
    if (text::EqualsIgnoringCase(text, kMonthNames[month]))
      return static_cast<int>(month) + 1;
  }
  return 0;
}

}  // namespace syslog

}  // namespace orvo
