// A whole MP3 decoded up front through the system's ACM MP3 codec (msacm32), with what the codec
// adds around the music cut away, so that a sample comes out where libmpg123 puts it on Linux.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::win32 {

struct DecodedMusic {
  int sampleRate = 0;
  std::vector<int16_t> stereo;  // interleaved left, right
};

// False with the reason in `error` when the bytes are no MP3 or no codec decodes them.
bool decodeMp3(const std::vector<uint8_t>& mp3, DecodedMusic& out, std::string& error);

}  // namespace platform::win32
