#pragma once

#include "platform/Library.h"
#include "platform/WinSock.h"

// A socket library that sends nothing, loaded through the binding's loader: the test sets its
// answers and reads what the stack handed it.
namespace orvo::test {

struct TScriptedWinSock {
  // Answers.
  std::int32_t StartupResult = 0;
  std::int32_t SocketResult = 3;
  std::int32_t SetOptionResult = 0;
  std::int32_t SendToResult = -2;  // -2: all bytes sent
  std::int32_t LastError = 0;      // what WSAGetLastError returns after a failure
  std::int32_t HostNameResult = 0;
  char HostName[32] = "scripted-host";
  std::int32_t HostAddressCount = 1;  // -1: gethostbyname finds nothing
  std::uint8_t HostAddresses[4][4] = {{10, 1, 2, 3}};
  std::int32_t Result = 0;  // of bind, connect, listen, accept, send, recv, recvfrom, select, ...
  ws2::TSockAddrIn Peer{};  // what getsockname, getpeername, accept and recvfrom tell
  const char* Received = "";
  std::int32_t Ready = -1;  // select leaves the first Ready sockets of each set; -1: all
  std::int32_t OptionValue = 0;
  const char* HostByAddrName = nullptr;  // nullptr: gethostbyaddr finds nothing
  std::int32_t ServicePort = -1;         // in network order; -1: getservbyname finds nothing
  const char* ServiceNames[3] = {};      // getservbyport's name and aliases; none: finds nothing

  // Records.
  std::int32_t SocketCalls = 0;
  std::int32_t SetOptionCalls = 0;
  std::int32_t SetOptionLevel = 0;
  std::int32_t SetOptionName = 0;
  std::int32_t SetOptionValue = 0;
  std::int32_t SetOptionLength = 0;
  std::int32_t SendToCalls = 0;
  std::int32_t SendToFlags = -1;
  std::int32_t SendToRecordLength = 0;
  std::uint8_t SendToRecord[16] = {};
  const char* SendToBuffer = nullptr;
  std::int32_t HostByNameCalls = 0;
  char LastHostByName[64] = {};
  char CloseOrder[8] = {};  // 's' for each shutdown, 'c' for each closesocket
  std::int32_t ShutdownHow = -1;
  ws2::TSockAddrIn Record{};  // what bind or connect was given
  std::int32_t RecordLength = 0;
  std::int32_t Socket = -1;  // the socket of the last call that takes one
  std::int32_t Length = -1;  // the length or backlog of the last such call
  std::int32_t Flags = -1;
  const char* Buffer = nullptr;
  std::int32_t Level = -1;
  std::int32_t Name = -1;
  ws2::TFdSet Sets[3] = {};  // select's read, write and error sets as given
  bool WaitsForever = false;
  ws2::TTimeVal Timeout{};
  char LastText[32] = {};  // of inet_addr or getservbyname
  std::uint8_t AddressAsked[4] = {};
  std::int32_t PortAsked = -1;
};

// The script of the one scripted library, and the library itself.
TScriptedWinSock& Script();
platform::TLibraryHandle ScriptedLibrary();

}  // namespace orvo::test
