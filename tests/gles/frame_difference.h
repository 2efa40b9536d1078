// How far two pictures of the same size are apart: the mean absolute difference of each channel
// and the share of pixels whose channels all lie within a tolerance.
#pragma once

#include <cstdint>
#include <vector>

struct FrameDifference {
  double meanPerChannel[3] = {0, 0, 0};  // in 1/255 steps
  double shareWithin = 0.0;              // 0 to 1
};

FrameDifference compareFrames(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                              int tolerance);
