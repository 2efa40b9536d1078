// The program's diagnostics on Windows: stderr for a console or a redirect, and the debugger's
// output (OutputDebugStringA), since a GUI program started from Explorer has no stderr at all.
#include <cstdio>
#include <string>

#include "platform/win32/windows_api.h"

namespace platform {

void report(const char* line) {
  const std::string text = std::string(line ? line : "") + "\n";
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
  OutputDebugStringA(text.c_str());
}

}  // namespace platform
