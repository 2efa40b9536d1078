#include "frame_difference.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The largest channel difference between pixel p of `a` and pixel q of `b`.
int pixelDifference(const std::vector<uint8_t>& a, size_t p, const std::vector<uint8_t>& b,
                    size_t q) {
  int largest = 0;
  for (int c = 0; c < 3; ++c)
    largest = std::max(largest, std::abs(int(a[p * 3 + c]) - int(b[q * 3 + c])));
  return largest;
}

}  // namespace

FrameDifference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                              int tolerance, int width, int radius) {
  FrameDifference d;
  const size_t pixels = a.size() / 3;
  if (pixels == 0 || a.size() != b.size()) return d;
  if (width <= 0) width = int(pixels);
  const int height = int(pixels / size_t(width));
  double sums[3] = {0, 0, 0};
  size_t within = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t p = size_t(y) * size_t(width) + size_t(x);
      // The pixel of `a` nearest in colour within the radius stands for this one.
      size_t match = p;
      int best = pixelDifference(a, p, b, p);
      for (int dy = -radius; dy <= radius && best > 0; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
          const size_t q = size_t(ny) * size_t(width) + size_t(nx);
          const int difference = pixelDifference(a, q, b, p);
          if (difference < best) {
            best = difference;
            match = q;
          }
        }
      }
      for (int c = 0; c < 3; ++c) sums[c] += std::abs(int(a[match * 3 + c]) - int(b[p * 3 + c]));
      within += best <= tolerance ? 1 : 0;
    }
  }
  for (int c = 0; c < 3; ++c) d.meanPerChannel[c] = sums[c] / double(pixels);
  d.shareWithin = double(within) / double(pixels);
  return d;
}
