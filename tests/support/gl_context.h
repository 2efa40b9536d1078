// A real GL context for tests: SDL's off-screen driver (EGL on Mesa), an 800x600 window that is
// never shown. Pixels are read back from the buffer being drawn, before any swap.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"

class GlTestContext {
 public:
  // Opens the context and makes it current; ok() is false when no GL is to be had.
  GlTestContext();
  ~GlTestContext();
  bool ok() const { return ok_; }
  platform::Platform& os() { return *platform_; }

  struct Rgb {
    uint8_t r, g, b;
  };
  // A pixel in window coordinates with (0, 0) at the bottom left, as GL counts.
  Rgb pixel(int x, int y) const;
  // The whole 800x600 picture, rows bottom first, RGB.
  std::vector<uint8_t> frame() const;

 private:
  std::unique_ptr<platform::Platform> platform_;
  bool ok_ = false;
};
