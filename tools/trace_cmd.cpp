#include <cstdio>

#include "tools/commands.h"

int runTraceCommand(int argc, char** argv) {
  std::fprintf(stderr, "demotool trace: not available in this build\n");
  return 1;
}
