// The browser's monotonic clock (performance.now), in microseconds: it has fractions of a
// millisecond, which the frame timer's whole milliseconds then truncate as on the other systems.
#include <emscripten/emscripten.h>

#include "platform/platform.h"

namespace platform {
namespace {

class BrowserCounter final : public Counter {
 public:
  int64_t frequency() override { return 1000000; }
  int64_t now() override { return int64_t(emscripten_get_now() * 1000.0); }
};

}  // namespace

Counter& systemCounter() {
  static BrowserCounter counter;
  return counter;
}

}  // namespace platform
