#include "net/IdStack.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "base/Text.h"
#include "net/IdStackWindows.h"

namespace orvo {

namespace {

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

bool IsLocalhost(std::string_view host) {
  constexpr std::string_view localhost = "localhost";
  if (host.size() != localhost.size())
    return false;
  for (std::size_t i = 0; i < host.size(); ++i) {
    const char c = host[i] >= 'A' && host[i] <= 'Z' ? static_cast<char>(host[i] + 32) : host[i];
    if (c != localhost[i])
      return false;
  }
  return true;
}

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
  FLastCode = SockLastError();
  for (const std::int32_t code : tolerated) {
    if (code == FLastCode)
      return true;
  }
  RaiseSocketFailure(FLastCode);
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
  if (address::ReadPlainDottedQuad(text))
    return true;
  std::string_view rest = text;
  const std::string_view first = address::SplitField(rest);
  const std::string_view second = address::SplitField(rest);
  const std::string_view third = address::SplitField(rest);
  return IsAddressByte(first) && IsAddressByte(second) && IsAddressByte(third) &&
         IsAddressByte(rest);
}

std::string TIdStack::ResolveAddress(const std::string& host) {
  if (IsLocalhost(host))
    return "127.0.0.1";
  if (IsDottedAddress(host))
    return host;
  return SockHostByName(host);
}

std::uint32_t TIdStack::AddressOf(std::string_view text) {
  TIdIn4Addr address{};
  TextToAddress(text, address);
  std::uint32_t value = 0;
  std::memcpy(&value, address.data(), sizeof(value));
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

constexpr std::size_t kShortestDottedQuad = 7;  // "0.0.0.0"
constexpr std::size_t kLongestDottedQuad = 15;  // "255.255.255.255"

std::optional<TIdIn4Addr> ParsePlainDottedQuad(std::string_view text) noexcept {
  TIdIn4Addr bytes{};
  const char* p = text.data();
  const char* const end = p + text.size();
  for (std::size_t field = 0; field < bytes.size(); ++field) {
    if (field > 0) {
      if (p == end || *p != '.')
        return std::nullopt;
      ++p;
    }
    const char* const start = p;
    unsigned value = 0;
    while (p != end && p - start < 3 && *p >= '0' && *p <= '9')
      value = value * 10 + static_cast<unsigned>(*p++ - '0');
    if (p == start || value > 255)
      return std::nullopt;
    bytes[field] = static_cast<std::uint8_t>(value);
  }
  if (p != end)
    return std::nullopt;
  return bytes;
}

// The last text read and its answer, on this thread. A sender reads the same server address
// twice for every datagram (to tell a dotted address, then to build the address record), so
// the answer is kept for the next read of the same text.
struct LastDottedQuad {
  std::array<char, kLongestDottedQuad> Text{};
  std::size_t Size = 0;
  std::optional<TIdIn4Addr> Bytes;
};
thread_local LastDottedQuad tLastDottedQuad;

}  // namespace

std::optional<TIdIn4Addr> ReadPlainDottedQuad(std::string_view text) noexcept {
  if (text.size() < kShortestDottedQuad || text.size() > kLongestDottedQuad)
    return std::nullopt;
  LastDottedQuad& last = tLastDottedQuad;
  if (text.size() != last.Size || !std::equal(text.begin(), text.end(), last.Text.begin())) {
    last.Bytes = ParsePlainDottedQuad(text);
    std::copy(text.begin(), text.end(), last.Text.begin());
    last.Size = text.size();
  }
  return last.Bytes;
}

}  // namespace address

}  // namespace orvo
