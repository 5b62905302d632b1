#include "net/IdStack.h"

#include <atomic>
#include <cstring>
#include <utility>

#include "base/Text.h"
#include "net/IdStackWindows.h"
#include "platform/WinSock.h"

namespace orvo {

namespace {

struct TErrorText {
  std::int32_t Code;
  const char* Text;
};

// The texts of the WinSock codes the stack explains; every other code has the empty text.
constexpr TErrorText kErrorTexts[] = {
    {ws2::WS_WSAEINTR, "Interrupted system call."},
    {ws2::WS_WSAEBADF, "Bad file number."},
    {ws2::WS_WSAEACCES, "Access denied."},
    {ws2::WS_WSAEFAULT, "Bad address."},
    {ws2::WS_WSAEINVAL, "Invalid argument."},
    {ws2::WS_WSAEMFILE, "Too many open files."},
    {ws2::WS_WSAEWOULDBLOCK, "Operation would block. "},
    {ws2::WS_WSAEINPROGRESS, "Operation now in progress."},
    {ws2::WS_WSAEALREADY, "Operation already in progress."},
    {ws2::WS_WSAENOTSOCK, "Socket operation on non-socket."},
    {ws2::WS_WSAEDESTADDRREQ, "Destination address required."},
    {ws2::WS_WSAEMSGSIZE, "Message too long."},
    {ws2::WS_WSAEPROTOTYPE, "Protocol wrong type for socket."},
    {ws2::WS_WSAENOPROTOOPT, "Bad protocol option."},
    {ws2::WS_WSAEPROTONOSUPPORT, "Protocol not supported."},
    {ws2::WS_WSAESOCKTNOSUPPORT, "Socket type not supported."},
    {ws2::WS_WSAEOPNOTSUPP, "Operation not supported on socket."},
    {ws2::WS_WSAEPFNOSUPPORT, "Protocol family not supported."},
    {ws2::WS_WSAEAFNOSUPPORT, "Address family not supported by protocol family."},
    {ws2::WS_WSAEADDRINUSE, "Address already in use."},
    {ws2::WS_WSAEADDRNOTAVAIL, "Cannot assign requested address."},
    {ws2::WS_WSAENETDOWN, "Network is down."},
    {ws2::WS_WSAENETUNREACH, "Network is unreachable."},
    {ws2::WS_WSAENETRESET, "Net dropped connection or reset."},
    {ws2::WS_WSAECONNABORTED, "Software caused connection abort."},
    {ws2::WS_WSAECONNRESET, "Connection reset by peer."},
    {ws2::WS_WSAENOBUFS, "No buffer space available."},
    {ws2::WS_WSAEISCONN, "Socket is already connected."},
    {ws2::WS_WSAENOTCONN, "Socket is not connected."},
    {ws2::WS_WSAESHUTDOWN, "Cannot send or receive after socket is closed."},
    {ws2::WS_WSAETOOMANYREFS, "Too many references, cannot splice."},
    {ws2::WS_WSAETIMEDOUT, "Connection timed out."},
    {ws2::WS_WSAECONNREFUSED, "Connection refused."},
    {ws2::WS_WSAELOOP, "Too many levels of symbolic links."},
    {ws2::WS_WSAENAMETOOLONG, "File name too long."},
    {ws2::WS_WSAEHOSTDOWN, "Host is down."},
    {ws2::WS_WSAEHOSTUNREACH, "No route to host."},
    {ws2::WS_WSAENOTEMPTY, "Directory not empty"},
};

const char* ErrorTextOf(std::int32_t code) {
  for (const TErrorText& entry : kErrorTexts) {
    if (entry.Code == code)
      return entry.Text;
  }
  return "";
}

// A dotted address: four fields, the fourth being all that follows the third ".", each a byte
// by the integer reading rule; its bytes, or nothing for any other text.
std::optional<TIdIn4Addr> ReadDottedAddress(std::string_view text) {
  TIdIn4Addr bytes{};
  std::string_view rest = text;
  for (std::size_t field = 0; field < bytes.size(); ++field) {
    const std::string_view digits = field < 3 ? address::SplitField(rest) : rest;
    const std::optional<std::int32_t> value = text::TryReadInteger(digits);
    if (!value || *value < 0 || *value > 255)
      return std::nullopt;
    bytes[field] = static_cast<std::uint8_t>(*value);
  }
  return bytes;
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
  FLastCode.store(code, std::memory_order_relaxed);
  throw EIdSocketError(code, SocketErrorText(code));
}

void TIdStack::RaiseLastSocketError() {
  RaiseSocketFailure(SockLastError());
}

TIdStackSocketHandle TIdStack::NewSocket(std::int32_t type, std::int32_t protocol) {
  const TIdStackSocketHandle handle = SockOpen(ws2::WS_AF_INET, type, protocol);
  if (handle == Id_INVALID_SOCKET)
    throw EIdInvalidSocket("Cannot allocate socket.");
  return handle;
}

bool TIdStack::IsDottedAddress(std::string_view text) const {
  return ReadDottedAddress(text).has_value();
}

std::string TIdStack::ResolveAddress(const std::string& host) {
  return ResolveDottedAddress(host).Text;
}

TIdDottedAddress TIdStack::ResolveDottedAddress(const std::string& host) {
  if (text::Lower(host) == "localhost")
    return {std::string(kLoopbackText), kLoopbackBytes};
  // A dotted address is read once here, and its bytes travel with the text.
  if (const std::optional<TIdIn4Addr> bytes = ReadDottedAddress(host))
    return {host, bytes};
  return {SockHostByName(host), std::nullopt};
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

}  // namespace address

}  // namespace orvo
