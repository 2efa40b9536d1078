// glReadPixels of the whole surface, turned top row first.
#include "tools/headless/frame_pixels.h"

#include <algorithm>

#include "gfx/gl.h"

namespace headless {

void readFrameTopDown(std::vector<uint8_t>& rgb) {
  const size_t row = size_t(kFrameWidth) * 3;
  rgb.resize(row * kFrameHeight);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  // GL counts rows from the bottom.
  for (int y = 0; y < kFrameHeight / 2; ++y)
    std::swap_ranges(rgb.begin() + y * row, rgb.begin() + (y + 1) * row,
                     rgb.begin() + (kFrameHeight - 1 - y) * row);
}

}  // namespace headless
