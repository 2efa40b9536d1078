#include "frame_difference.h"

#include <cstdlib>

FrameDifference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                              int tolerance) {
  FrameDifference d;
  const size_t pixels = a.size() / 3;
  if (pixels == 0 || a.size() != b.size()) return d;
  double sums[3] = {0, 0, 0};
  size_t within = 0;
  for (size_t p = 0; p < pixels; ++p) {
    bool close = true;
    for (int c = 0; c < 3; ++c) {
      const int diff = std::abs(int(a[p * 3 + c]) - int(b[p * 3 + c]));
      sums[c] += diff;
      close = close && diff <= tolerance;
    }
    within += close ? 1 : 0;
  }
  for (int c = 0; c < 3; ++c) d.meanPerChannel[c] = sums[c] / double(pixels);
  d.shareWithin = double(within) / double(pixels);
  return d;
}
