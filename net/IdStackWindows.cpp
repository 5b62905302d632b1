#include "net/IdStackWindows.h"

#include <algorithm>
#include <cstring>

#include "base/Text.h"
#include "net/IdWinSock2.h"

namespace orvo {

namespace {

constexpr std::uint16_t kWinSockVersion = 0x0202;
constexpr std::int32_t kHostNameBufferSize = 250;
constexpr std::int32_t kAddressRecordSize = sizeof(ws2::TSockAddrIn);
constexpr std::int32_t kWaitForever = -2;

// A record filled with zeros before its fields are set, as every record the stack hands out.
ws2::TSockAddrIn AddressRecord(std::int32_t family, std::uint16_t networkPort,
                               std::uint32_t networkAddress) {
  ws2::TSockAddrIn record{};
  record.sin_family = static_cast<std::uint16_t>(family);
  record.sin_port = networkPort;
  std::memcpy(record.sin_addr, &networkAddress, sizeof(record.sin_addr));
  return record;
}

TIdIn4Addr BytesOf(const char* address) {
  TIdIn4Addr bytes{};
  std::memcpy(bytes.data(), address, bytes.size());
  return bytes;
}

TIdIn4Addr BytesOf(const ws2::TSockAddrIn& record) {
  TIdIn4Addr bytes{};
  std::memcpy(bytes.data(), record.sin_addr, bytes.size());
  return bytes;
}

// Copies a socket list into a WinSock set; more than the set holds is refused.
ws2::TFdSet SocketSetOf(const std::vector<TIdStackSocketHandle>* list) {
  ws2::TFdSet set{};
  if (list == nullptr)
    return set;
  if (list->size() > ws2::WS_FD_SETSIZE)
    throw EIdStackSetSizeExceeded("Set Size Exceeded.");
  for (const TIdStackSocketHandle socket : *list)
    set.fd_array[set.fd_count++] = socket;
  return set;
}

void RefillFromSet(std::vector<TIdStackSocketHandle>* list, const ws2::TFdSet& set) {
  if (list == nullptr)
    return;
  list->assign(set.fd_array,
               set.fd_array + std::min<std::uint32_t>(set.fd_count, ws2::WS_FD_SETSIZE));
}

}  // namespace

TIdStackWindows::TIdStackWindows() {
  ws2::TWSAData description{};
  if (ws2::WSAStartup(kWinSockVersion, &description) != 0) {
    throw EIdStackInitializationFailed("Winsock Initialization Error.");
  }
}

TIdStackWindows::~TIdStackWindows() {
  // The results are not read; a library already released at process end is no failure either.
  try {
    ws2::WSACancelBlockingCall();
    ws2::WSACleanup();
  } catch (const EIdWS2StubError&) {
  }
}

void TIdStackWindows::FillLocalAddresses() {
  if (!FAddressList)
    FAddressList.emplace();
  FAddressList->clear();
  const std::string name = SockHostName();
  const ws2::THostEnt* entry = ws2::gethostbyname(name.c_str());
  if (entry == nullptr)
    RaiseLastSocketError();
  for (char** address = entry->h_addr_list; address != nullptr && *address != nullptr; ++address) {
    FAddressList->push_back(AddressToText(BytesOf(*address)));
  }
}

std::string TIdStackWindows::FirstLocalAddress() {
  const std::vector<std::string>& addresses = LocalAddressList();
  if (addresses.empty())
    throw Exception("List index out of bounds (0)");
  return addresses.front();
}

const std::vector<std::string>& TIdStackWindows::LocalAddressList() {
  if (!FAddressList)
    FAddressList.emplace();
  FillLocalAddresses();
  return *FAddressList;
}

TIdStackSocketHandle TIdStackWindows::SockAccept(TIdStackSocketHandle socket, std::string& ip,
                                                 std::int32_t& port) {
  ws2::TSockAddrIn record{};
  std::int32_t length = kAddressRecordSize;
  const TIdStackSocketHandle accepted = ws2::accept(socket, &record, &length);
  ip = AddressToText(BytesOf(record));
  port = ws2::ntohs(record.sin_port);
  return accepted;
}

std::int32_t TIdStackWindows::SockBind(TIdStackSocketHandle socket, std::int32_t family,
                                       const std::string& ip, std::int32_t port) {
  const std::uint32_t address = ip.empty() ? ws2::WS_INADDR_ANY : AddressOf(ip);
  const ws2::TSockAddrIn record =
      AddressRecord(family, ws2::htons(static_cast<std::uint16_t>(port)), address);
  return ws2::bind(socket, &record, kAddressRecordSize);
}

std::int32_t TIdStackWindows::SockClose(TIdStackSocketHandle socket) {
  return ws2::closesocket(socket);
}

std::int32_t TIdStackWindows::SockConnect(TIdStackSocketHandle socket, std::int32_t family,
                                          const std::string& ip, std::int32_t port) {
  const ws2::TSockAddrIn record =
      AddressRecord(family, ws2::htons(static_cast<std::uint16_t>(port)), AddressOf(ip));
  return ws2::connect(socket, &record, kAddressRecordSize);
}

std::string TIdStackWindows::SockHostByName(const std::string& hostName) {
  const ws2::THostEnt* entry = ws2::gethostbyname(hostName.c_str());
  if (entry == nullptr)
    RaiseLastSocketError();
  if (entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) {
    // An entry without any address fails as the resolver's "no data".
    RaiseSocketFailure(ws2::WS_WSANO_DATA);
  }
  return AddressToText(BytesOf(entry->h_addr_list[0]));
}

std::string TIdStackWindows::SockHostName() {
  // An unreadable host name yields the empty name, whose resolution then fails.
  char buffer[kHostNameBufferSize] = {};
  ws2::gethostname(buffer, kHostNameBufferSize);
  return std::string(buffer, std::find(buffer, buffer + kHostNameBufferSize, '\0'));
}

std::string TIdStackWindows::SockHostByAddr(const std::string& ip) {
  const std::uint32_t address = ws2::inet_addr(ip.c_str());
  const ws2::THostEnt* entry =
      ws2::gethostbyaddr(reinterpret_cast<const char*>(&address), 4, ws2::WS_AF_INET);
  if (entry == nullptr)
    RaiseLastSocketError();
  return entry->h_name;
}

std::int32_t TIdStackWindows::SockServicePort(const std::string& serviceName) {
  const ws2::TServEnt* entry = ws2::getservbyname(serviceName.c_str(), nullptr);
  if (entry != nullptr)
    return ws2::ntohs(static_cast<std::uint16_t>(entry->s_port));
  const std::optional<std::int32_t> port = text::TryReadInteger(serviceName);
  if (!port)
    throw EIdInvalidServiceName(serviceName + " is not a valid service.");
  return *port;
}

std::vector<std::string> TIdStackWindows::SockServiceNames(std::int32_t port) {
  std::vector<std::string> names;
  const ws2::TServEnt* entry =
      ws2::getservbyport(ws2::htons(static_cast<std::uint16_t>(port)), nullptr);
  if (entry == nullptr)
    return names;
  names.emplace_back(entry->s_name);
  for (char** alias = entry->s_aliases; alias != nullptr && *alias != nullptr; ++alias) {
    names.emplace_back(*alias);
  }
  return names;
}

std::uint16_t TIdStackWindows::SockHostToNetShort(std::uint16_t value) {
  return ws2::htons(value);
}

std::int32_t TIdStackWindows::SockListen(TIdStackSocketHandle socket, std::int32_t backlog) {
  return ws2::listen(socket, backlog);
}

std::uint16_t TIdStackWindows::SockNetToHostShort(std::uint16_t value) {
  return ws2::ntohs(value);
}

std::uint32_t TIdStackWindows::SockHostToNetLong(std::uint32_t value) {
  return ws2::htonl(value);
}

std::uint32_t TIdStackWindows::SockNetToHostLong(std::uint32_t value) {
  return ws2::ntohl(value);
}

std::int32_t TIdStackWindows::SockRecv(TIdStackSocketHandle socket, void* buffer,
                                       std::int32_t length, std::int32_t flags) {
  return ws2::recv(socket, static_cast<char*>(buffer), length, flags);
}

std::int32_t TIdStackWindows::SockRecvFrom(TIdStackSocketHandle socket, void* buffer,
                                           std::int32_t length, std::int32_t flags, std::string& ip,
                                           std::int32_t& port) {
  ws2::TSockAddrIn record{};
  std::int32_t recordLength = kAddressRecordSize;
  const std::int32_t result =
      ws2::recvfrom(socket, static_cast<char*>(buffer), length, flags, &record, &recordLength);
  ip = AddressToText(BytesOf(record));
  port = ws2::ntohs(record.sin_port);
  return result;
}

std::int32_t TIdStackWindows::SockSelect(std::vector<TIdStackSocketHandle>* readList,
                                         std::vector<TIdStackSocketHandle>* writeList,
                                         std::vector<TIdStackSocketHandle>* errorList,
                                         std::int32_t timeoutMs) {
  ws2::TFdSet readSet = SocketSetOf(readList);
  ws2::TFdSet writeSet = SocketSetOf(writeList);
  ws2::TFdSet errorSet = SocketSetOf(errorList);
  const ws2::TTimeVal timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const std::int32_t result = ws2::select(0, &readSet, &writeSet, &errorSet,
                                          timeoutMs == kWaitForever ? nullptr : &timeout);
  RefillFromSet(readList, readSet);
  RefillFromSet(writeList, writeSet);
  RefillFromSet(errorList, errorSet);
  return result;
}

std::int32_t TIdStackWindows::SockSend(TIdStackSocketHandle socket, const void* buffer,
                                       std::int32_t length, std::int32_t flags) {
  return ws2::send(socket, static_cast<const char*>(buffer), length, flags);
}

std::int32_t TIdStackWindows::SockSendTo(TIdStackSocketHandle socket, const void* buffer,
                                         std::int32_t length, std::int32_t flags,
                                         const TIdDottedAddress& ip, std::int32_t port) {
  const ws2::TSockAddrIn record = AddressRecord(
      ws2::WS_AF_INET, ws2::htons(static_cast<std::uint16_t>(port & 0xFFFF)), AddressOf(ip));
  return ws2::sendto(socket, static_cast<const char*>(buffer), length, flags, &record,
                     kAddressRecordSize);
}

std::int32_t TIdStackWindows::SockSetOption(TIdStackSocketHandle socket, std::int32_t level,
                                            std::int32_t name, const void* value,
                                            std::int32_t length) {
  return ws2::setsockopt(socket, level, name, static_cast<const char*>(value), length);
}

TIdStackSocketHandle TIdStackWindows::SockOpen(std::int32_t family, std::int32_t type,
                                               std::int32_t protocol) {
  return ws2::socket(family, type, protocol);
}

std::int32_t TIdStackWindows::SockShutdown(TIdStackSocketHandle socket, std::int32_t how) {
  return ws2::shutdown(socket, how);
}

std::int32_t TIdStackWindows::SockLastError() {
  return ws2::WSAGetLastError();
}

void TIdStackWindows::SockPeerName(TIdStackSocketHandle socket, std::int32_t& family,
                                   std::string& ip, std::int32_t& port) {
  ReadSocketName(ws2::getpeername, socket, family, ip, port);
}

void TIdStackWindows::SockLocalName(TIdStackSocketHandle socket, std::int32_t& family,
                                    std::string& ip, std::int32_t& port) {
  ReadSocketName(ws2::getsockname, socket, family, ip, port);
}

void TIdStackWindows::ReadSocketName(ws2::Tgetsockname* query, TIdStackSocketHandle socket,
                                     std::int32_t& family, std::string& ip, std::int32_t& port) {
  ws2::TSockAddrIn record{};
  std::int32_t length = kAddressRecordSize;
  CheckSocketResult(query(socket, &record, &length));
  family = record.sin_family;
  ip = AddressToText(BytesOf(record));
  port = ws2::ntohs(record.sin_port);
}

std::int32_t TIdStackWindows::SockGetOption(TIdStackSocketHandle socket, std::int32_t level,
                                            std::int32_t name, void* value, std::int32_t& length) {
  return ws2::getsockopt(socket, level, name, static_cast<char*>(value), &length);
}

std::string TIdStackWindows::AddressToText(const TIdIn4Addr& address) {
  std::string text;
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i > 0)
      text += '.';
    text += std::to_string(address[i]);
  }
  return text;
}

void TIdStackWindows::TextToAddress(std::string_view dotted, TIdIn4Addr& bytes) {
  // A fourth "." ends the fourth field; anything after it is ignored.
  std::string_view rest = dotted;
  for (std::uint8_t& byte : bytes) {
    byte = static_cast<std::uint8_t>(text::ReadInteger(address::SplitField(rest)) & 0xFF);
  }
}

std::unique_ptr<TIdStack> NewStackWindows() {
  return std::make_unique<TIdStackWindows>();
}

}  // namespace orvo
