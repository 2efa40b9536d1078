// How far two pictures of the same size are apart: the mean absolute difference of each channel
// and the share of pixels whose channels all lie within a tolerance.
#pragma once

#include <cstdint>
#include <vector>

struct FrameDifference {
  double meanPerChannel[3] = {0, 0, 0};  // in 1/255 steps
  double shareWithin = 0.0;              // 0 to 1
};

// RGB pictures, `width` pixels a row. With a radius, each pixel of `b` is compared with the pixel
// of `a` closest to it in colour within that many pixels either way: edges one rasterizer puts a
// pixel further than another then count as matching, while a missing or misplaced shape does not.
FrameDifference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                              int tolerance, int width = 0, int radius = 0);
