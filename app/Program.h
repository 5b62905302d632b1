#pragma once

namespace orvo {

// The program: builds the data module, reads the command line, runs the help, interactive,
// one-message or file mode and frees the module. Any failure frees the module, writes its
// message alone on standard output and gives exit code 9; otherwise the exit code is 0. The
// entry point's argument vector is handed over inside the failure handling, since copying it
// may already run out of memory.
int RunProgram(int argc, const char* const* argv);

}  // namespace orvo
