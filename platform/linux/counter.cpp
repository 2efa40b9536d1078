// The system's monotonic counter, in nanoseconds.
#include <time.h>

#include "platform/platform.h"

namespace platform {
namespace {

class MonotonicCounter final : public Counter {
 public:
  int64_t frequency() override { return 1000000000; }
  int64_t now() override {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  }
};

}  // namespace

Counter& systemCounter() {
  static MonotonicCounter counter;
  return counter;
}

}  // namespace platform
