#include "app/Program.h"
#include "platform/Process.h"

int main(int argc, char** argv) {
  orvo::platform::IgnoreBrokenPipes();
  orvo::platform::SetProgramArguments(argc, argv);
  return orvo::RunProgram();
}
