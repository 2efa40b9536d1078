// The process entry on Windows: a GUI program's WinMain makes the Win32 platform current and runs
// the program. Its four arguments are not used: the presentation has no command line.
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  auto os = platform::createWin32Platform();
  platform::setCurrent(os.get());
  const int exitCode = platform::programMain();
  platform::setCurrent(nullptr);
  return exitCode;
}
