// Writing 8-bit RGB pictures as PNG files through libpng, with no time stamp or other varying
// chunk, so that the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width * height * 3 bytes, top row first. False with a one-line `error` when the file
// cannot be written.
bool writePng(const std::string& path, const uint8_t* rgb, int width, int height,
              std::string& error);

// The same picture encoded into memory.
bool encodePng(const uint8_t* rgb, int width, int height, std::vector<uint8_t>& out);
