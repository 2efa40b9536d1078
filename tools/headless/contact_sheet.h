// One picture that summarises a capture: a frame from the middle of each scene window and the end
// picture, scaled down side by side and labelled with their times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace headless {

struct SheetPick {
  size_t frame = 0;  // index into the run's frame times
  std::string label;
};

// For each of the six scene windows the run reaches, the frame nearest the window's middle; then
// the run's last frame when it shows the end scene.
std::vector<SheetPick> pickSheetFrames(const std::vector<uint32_t>& times);

struct SheetCell {
  std::string label;
  std::vector<uint8_t> rgb;  // 800x600, top row first
};

// Writes the sheet as PNG. False with a one-line `error`.
bool writeContactSheet(const std::string& path, const std::vector<SheetCell>& cells,
                       std::string& error);

}  // namespace headless
