#pragma once

namespace orvo {

// The program: builds the data module, reads the command line, runs the help, interactive,
// one-message or file mode and frees the module. Any failure frees the module, writes its
// message alone on standard output and gives exit code 9; otherwise the exit code is 0.
int RunProgram();

}  // namespace orvo
