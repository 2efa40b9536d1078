// Reading the finished picture back from the buffer that was drawn, before the swap.
#pragma once

#include <cstdint>
#include <vector>

namespace headless {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// The whole 800x600 surface as RGB, top row first (as images and video encoders expect).
void readFrameTopDown(std::vector<uint8_t>& rgb);

}  // namespace headless
