#pragma once

namespace orvo {

// Runs the help, interactive, one-message or file mode; exit code 0, or 9 with the failure's
// message alone on standard output. The arguments are copied inside the failure handling, as
// that may already run out of memory.
int RunProgram(int argc, const char* const* argv);

}  // namespace orvo
