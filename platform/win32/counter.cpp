// The performance counter.
#include "platform/win32/windows_api.h"

namespace platform {
namespace {

class PerformanceCounter final : public Counter {
 public:
  int64_t frequency() override {
    LARGE_INTEGER f;
    return QueryPerformanceFrequency(&f) ? int64_t(f.QuadPart) : 0;
  }
  int64_t now() override {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return int64_t(c.QuadPart);
  }
};

}  // namespace

Counter& systemCounter() {
  static PerformanceCounter counter;
  return counter;
}

}  // namespace platform
