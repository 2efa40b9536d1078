// The process entry on Linux: the SDL platform, then the program.
#include "platform/linux/sdl_platform.h"

int main() {
  auto os = platform::createSdlPlatform();
  platform::setCurrent(os.get());
  const int exitCode = platform::programMain();
  platform::setCurrent(nullptr);
  return exitCode;
}
