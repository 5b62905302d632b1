#pragma once

#include "platform/Library.h"

// The socket adapter: the program's own WS2_32.DLL over POSIX sockets. Loading "WS2_32.DLL"
// gives this table; each entry is a WinSock export under its export name, stored as the binding
// row's function type, so the binding calls it exactly as it calls WinSock's. Rows the table
// lacks fail at their first call as a missing export does.
namespace orvo::ws2posix {

const platform::TExportTable& AdapterExports() noexcept;

}  // namespace orvo::ws2posix
