#pragma once

#include "platform/Library.h"

// The socket adapter: the program's own WS2_32.DLL over POSIX sockets, exporting the WinSock
// functions the program calls. A row the table lacks fails at its first call as a missing export
// does.
namespace orvo::ws2posix {

const platform::TExportTable& AdapterExports() noexcept;

}  // namespace orvo::ws2posix
