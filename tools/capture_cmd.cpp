#include <cstdio>

#include "tools/commands.h"

int runCaptureCommand(int argc, char** argv) {
  std::fprintf(stderr, "demotool capture: not available in this build\n");
  return 1;
}
