// The platform the program runs on, chosen once by the entry point (or by a test).
#include "platform/platform.h"

namespace platform {
namespace {

Platform* currentPlatform = nullptr;

}  // namespace

Platform& current() {
  return *currentPlatform;
}

void setCurrent(Platform* platform) {
  currentPlatform = platform;
}

}  // namespace platform
