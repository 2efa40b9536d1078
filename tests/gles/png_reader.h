// Reading the 8-bit RGB PNG files that demotool capture writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first
};

// False with a one-line `error` when the file is missing or not 8-bit RGB.
bool readPng(const std::string& path, RgbPicture& picture, std::string& error);
