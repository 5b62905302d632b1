#include "app/Program.h"
#include "platform/Process.h"

int main(int argc, char** argv) {
  orvo::platform::OpenClosedStandardDescriptors();
  orvo::platform::IgnoreBrokenPipes();
  return orvo::RunProgram(argc, argv);
}
