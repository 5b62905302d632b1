#pragma once

#include "platform/Library.h"
#include "platform/WinSock.h"

// A socket library that sends nothing: its answers are set by the test and it records what the
// stack handed it. A test loads it through the binding's loader (ScriptedLibrary) in place of the
// adapter; it lacks every row the stack's sends do not reach.
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
};

// The script of the one scripted library, and the library itself.
TScriptedWinSock& Script();
platform::TLibraryHandle ScriptedLibrary();

}  // namespace orvo::test
