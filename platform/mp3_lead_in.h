// What an MP3 decoder adds around the music, read from the file's first frames. A decoder that
// knows the LAME tag (libmpg123, which SDL_mixer plays through) drops the tag frame, the encoder's
// delay and its own; a plain frame decoder (the system's ACM codec on Windows) outputs them all.
// This tells the second kind what to feed and what to cut so that both give the same samples.
// Portable byte parsing, bounds-checked for any input.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Samples every Layer III synthesis filter bank lags behind its input (LAME's documented figure).
constexpr uint32_t kMp3DecoderDelay = 529;

struct Mp3LeadIn {
  bool found = false;      // a Layer III audio frame starts at audioOffset
  size_t audioOffset = 0;  // past an ID3v2 tag, leading junk and the Xing/Info frame
  int sampleRate = 0;      // of that first audio frame
  int channels = 0;
  int bitrateKbps = 0;
  int frameBytes = 0;      // its length without the padding byte
  bool infoFrame = false;  // a Xing/Info frame came first (not audio: never to be decoded)
  bool lameTag = false;    // which carried the encoder delay and padding
  uint32_t encoderDelay = 0;
  uint32_t encoderPadding = 0;
  // Samples per channel to cut from the decoded audio, as libmpg123 cuts them: the decoder delay
  // and the encoder delay at the start when there is an Info frame, the padding beyond the decoder
  // delay at the end when its LAME tag says so; nothing for a file without an Info frame.
  uint32_t cutStart = 0;
  uint32_t cutEnd = 0;
};

Mp3LeadIn readMp3LeadIn(const uint8_t* data, size_t size);

}  // namespace platform
