// The presentation's entry: the SDL platform, then the program.
#include "app/entry.h"
#include "platform/sdl_platform.h"

int main() {
  auto os = platform::createSdlPlatform();
  platform::setCurrent(os.get());
  const int exitCode = WinMain();
  platform::setCurrent(nullptr);
  return exitCode;
}
