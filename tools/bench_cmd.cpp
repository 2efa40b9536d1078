#include <cstdio>

#include "tools/commands.h"

int runBenchCommand(int argc, char** argv) {
  std::fprintf(stderr, "demotool bench: not available in this build\n");
  return 1;
}
