// MP3 decoded by libmpg123, the decoder SDL_mixer plays the music through on Linux.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class Mp3Trim {
  AsSdlMixer,  // the Info frame, the encoder's delay and padding and the decoder's delay cut away
  None,        // every sample the frames decode to, as a plain frame decoder gives them
};

// Interleaved 16-bit stereo at 44100 Hz; on failure the reason is in `error`.
std::vector<int16_t> decodeMp3(const std::vector<uint8_t>& mp3, std::string& error,
                               Mp3Trim trim = Mp3Trim::AsSdlMixer);
