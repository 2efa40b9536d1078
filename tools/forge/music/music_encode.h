// Container writers for the rendered music: MP3 through libmp3lame (CBR 192 kbps, joint stereo,
// a LAME info frame so decoders can trim the encoder delay, no ID3 tag) and 16-bit PCM WAV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// `pcm` is interleaved stereo at 44100 Hz. Empty result with a reason in `error` on failure.
std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& pcm, std::string& error);
// A complete RIFF/WAVE file holding interleaved stereo 16-bit `pcm` at 44100 Hz.
std::vector<uint8_t> wavBytes(const std::vector<int16_t>& pcm);

}  // namespace music
