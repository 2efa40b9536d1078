#include <cstdio>

#include "tools/commands.h"

int runPackCommand(int argc, char** argv) {
  std::fprintf(stderr, "demotool pack: not available in this build\n");
  return 1;
}
