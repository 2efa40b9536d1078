// The program's diagnostics in the browser: stderr, which the page's console shows.
#include <cstdio>

#include "platform/platform.h"

namespace platform {

void report(const char* line) {
  std::fprintf(stderr, "%s\n", line ? line : "");
}

}  // namespace platform
