#include <cstdio>

#include "tools/commands.h"

int runInspectCommand(int argc, char** argv) {
  std::fprintf(stderr, "demotool inspect: not available in this build\n");
  return 1;
}
