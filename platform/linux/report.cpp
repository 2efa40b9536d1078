// The program's diagnostics on Linux: stderr, where a terminal or the session's log shows them.
#include <cstdio>

#include "platform/platform.h"

namespace platform {

void report(const char* line) {
  std::fprintf(stderr, "%s\n", line ? line : "");
}

}  // namespace platform
