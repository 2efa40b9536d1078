#include "tools/inspect_3ds.h"

#include <cstdio>

int inspect3ds(const char* path) {
  std::fprintf(stderr, "demotool inspect 3ds: not available in this build\n");
  return 1;
}
