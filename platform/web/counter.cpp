// The browser's monotonic clock (performance.now), in microseconds: it has fractions of a
// millisecond, which the frame timer's whole milliseconds then truncate as on the other systems.
// In the page's stepped time mode the clock is set instead, frame by frame.
#include <emscripten/emscripten.h>

#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace platform {
namespace {

class BrowserCounter final : public Counter {
 public:
  int64_t frequency() override { return 1000000; }
  int64_t now() override {
    return stepped_ ? steppedMs_ * 1000 : int64_t(emscripten_get_now() * 1000.0);
  }
  void set(int64_t ms) {
    stepped_ = true;
    steppedMs_ = ms;
  }

 private:
  bool stepped_ = false;
  int64_t steppedMs_ = 0;
};

BrowserCounter& browserCounter() {
  static BrowserCounter counter;
  return counter;
}

}  // namespace

Counter& systemCounter() {
  return browserCounter();
}

void webSetCounterMs(int64_t ms) {
  browserCounter().set(ms);
}

}  // namespace platform
