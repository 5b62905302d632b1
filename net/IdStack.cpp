#include "net/IdStack.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <utility>

#include "base/Text.h"
#include "net/IdStackWindows.h"

namespace orvo {

namespace {

constexpr std::size_t kShortestDottedQuad = 7;  // "0.0.0.0"
constexpr std::size_t kLongestDottedQuad = 15;  // "255.255.255.255"

// The last host that ResolveAddress read on this thread as the common form of a dotted address,
// and its bytes: a sender names the same server for every datagram, and telling the same text
// again is cheaper than reading it. Only the reading of a text is kept, never a resolver's
// answer. It is kept per thread because components on several threads share one stack.
struct LastDottedHost {
  std::size_t Size = 0;
  std::array<char, kLongestDottedQuad> Text{};
  TIdIn4Addr Bytes{};

  bool Is(std::string_view host) const noexcept {
    return Size != 0 && host.size() == Size && std::equal(host.begin(), host.end(), Text.begin());
  }
  void Remember(std::string_view host, const TIdIn4Addr& bytes) noexcept {
    Size = host.size();
    std::copy(host.begin(), host.end(), Text.begin());
    Bytes = bytes;
  }
};
thread_local LastDottedHost tLastDottedHost;

struct TErrorText {
  std::int32_t Code;
  const char* Text;
};

// The texts of the WinSock codes the stack explains; every other code has the empty text.
constexpr TErrorText kErrorTexts[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block. "},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, cannot splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty"},
};

const char* ErrorTextOf(std::int32_t code) {
  for (const TErrorText& entry : kErrorTexts) {
    if (entry.Code == code)
      return entry.Text;
  }
  return "";
}

bool IsAddressByte(std::string_view field) {
  const std::optional<std::int32_t> value = text::TryReadInteger(field);
  return value.has_value() && *value >= 0 && *value <= 255;
}

// "localhost" compared without regard to letter case. Every character of the name is a lower-case
// letter, so setting bit 5 of a character gives the name's character exactly when the character
// is that letter in either case.
bool IsLocalhost(std::string_view host) {
  constexpr std::string_view localhost = "localhost";
  if (host.size() != localhost.size())
    return false;
  for (std::size_t i = 0; i < host.size(); ++i) {
    if ((host[i] | 0x20) != localhost[i])
      return false;
  }
  return true;
}

// Four fields, the fourth being all that follows the third ".", each a byte by the integer
// reading rule.
bool IsDottedByRule(std::string_view text) {
  std::string_view rest = text;
  const std::string_view first = address::SplitField(rest);
  const std::string_view second = address::SplitField(rest);
  const std::string_view third = address::SplitField(rest);
  return IsAddressByte(first) && IsAddressByte(second) && IsAddressByte(third) &&
         IsAddressByte(rest);
}

constexpr std::string_view kLoopbackText = "127.0.0.1";
constexpr TIdIn4Addr kLoopbackBytes = {127, 0, 0, 1};

std::atomic<TIdStack*> gSharedStack{nullptr};

}  // namespace

EIdSocketError::EIdSocketError(std::int32_t code, std::string message)
    : EIdException(std::move(message)), FSocketCode(code) {}

TIdStack::~TIdStack() = default;

std::string TIdStack::SocketErrorText(std::int32_t code) {
  return "Socket Error # " + std::to_string(code) + "\r\n" + ErrorTextOf(code);
}

bool TIdStack::CheckSocketResult(std::int32_t result,
                                 std::initializer_list<std::int32_t> tolerated) {
  if (result != Id_SOCKET_ERROR)
    return false;
  // The code is taken once: another thread's failure on the same stack may replace LastCode
  // before this one is raised.
  const std::int32_t failure = SockLastError();
  FLastCode.store(failure, std::memory_order_relaxed);
  for (const std::int32_t code : tolerated) {
    if (code == failure)
      return true;
  }
  RaiseSocketFailure(failure);
}

void TIdStack::RaiseSocketFailure(std::int32_t code) {
  throw EIdSocketError(code, SocketErrorText(code));
}

TIdStackSocketHandle TIdStack::NewSocket(std::int32_t type, std::int32_t protocol) {
  constexpr std::int32_t familyIPv4 = 2;
  const TIdStackSocketHandle handle = SockOpen(familyIPv4, type, protocol);
  if (handle == Id_INVALID_SOCKET)
    throw EIdInvalidSocket("Cannot allocate socket.");
  return handle;
}

bool TIdStack::IsDottedAddress(std::string_view text) const {
  TIdIn4Addr bytes{};
  return address::ReadPlainDottedQuad(text, bytes) || IsDottedByRule(text);
}

std::string TIdStack::ResolveAddress(const std::string& host) {
  std::string answer;
  return std::string(ResolveAddress(host, answer).Text);
}

TIdDottedAddress TIdStack::ResolveAddress(const std::string& host, std::string& answer) {
  if (IsLocalhost(host))
    return {kLoopbackText, kLoopbackBytes};
  // The common form of a dotted address is read once here, and its bytes travel with the text.
  LastDottedHost& last = tLastDottedHost;
  if (last.Is(host))
    return {host, last.Bytes};
  TIdIn4Addr bytes{};
  if (address::ReadPlainDottedQuad(host, bytes)) {
    last.Remember(host, bytes);
    return {host, bytes};
  }
  if (IsDottedByRule(host))
    return {host, std::nullopt};
  answer = SockHostByName(host);
  return {answer, std::nullopt};
}

std::uint32_t TIdStack::AddressOf(std::string_view text) {
  TIdIn4Addr address{};
  TextToAddress(text, address);
  std::uint32_t value = 0;
  std::memcpy(&value, address.data(), sizeof(value));
  return value;
}

std::uint32_t TIdStack::AddressOf(const TIdDottedAddress& address) {
  if (!address.Bytes)
    return AddressOf(address.Text);
  std::uint32_t value = 0;
  std::memcpy(&value, address.Bytes->data(), sizeof(value));
  return value;
}

TIdStackClass StackClass() noexcept {
  return &NewStackWindows;
}

std::unique_ptr<TIdStack> NewStack() {
  return StackClass()();
}

TIdStack* SharedStack() noexcept {
  return gSharedStack.load();
}

TIdStack& CurrentStack() {
  TIdStack* stack = SharedStack();
  if (stack == nullptr)
    throw EIdStackError("No socket stack.");
  return *stack;
}

std::unique_ptr<TIdStack> ExchangeSharedStack(std::unique_ptr<TIdStack> stack) {
  return std::unique_ptr<TIdStack>(gSharedStack.exchange(stack.release()));
}

namespace address {

std::string_view SplitField(std::string_view& rest) {
  const std::size_t dot = rest.find('.');
  const std::string_view field = rest.substr(0, dot);
  rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
  return field;
}

namespace {

// The value of the digit at p, or a value above 9 at the end or for any other character.
unsigned DigitAt(const char* p, const char* end) noexcept {
  return p != end ? static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0' : 10U;
}

// Four fields of one to three decimal digits worth at most 255, between three dots; their
// values go into bytes. The bytes come back through a reference, where the caller keeps them.
bool ParsePlainDottedQuad(std::string_view text, TIdIn4Addr& bytes) noexcept {
  const char* p = text.data();
  const char* const end = p + text.size();
  for (std::size_t field = 0; field < bytes.size(); ++field) {
    if (field > 0 && (p == end || *p++ != '.'))
      return false;
    unsigned value = DigitAt(p, end);
    if (value > 9)
      return false;
    if (const unsigned second = DigitAt(++p, end); second <= 9) {
      value = value * 10 + second;
      if (const unsigned third = DigitAt(++p, end); third <= 9) {
        value = value * 10 + third;
        ++p;
        if (value > 255)
          return false;
      }
    }
    bytes[field] = static_cast<std::uint8_t>(value);
  }
  return p == end;
}

}  // namespace

bool ReadPlainDottedQuad(std::string_view text, TIdIn4Addr& bytes) noexcept {
  return text.size() >= kShortestDottedQuad && text.size() <= kLongestDottedQuad &&
         ParsePlainDottedQuad(text, bytes);
}

}  // namespace address

}  // namespace orvo
