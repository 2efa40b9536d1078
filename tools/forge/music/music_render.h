// The music rendered to mastered PCM, and files of it for listening and inspection: the same bytes
// the forge packs as "muza_final.mp3", or the PCM before encoding as a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

struct RenderedMusic {
  std::vector<int16_t> pcm;  // interleaved stereo, 44100 Hz
  double loudness = 0;       // LUFS of the master before encoding
  double gainDb = 0;         // make-up gain the master applied before its limiter
};
RenderedMusic renderMusic();
// Renders and writes the file at `path`, MP3 or WAV; false with a reason in `error` on failure.
bool writeRendered(const char* path, bool mp3, std::string& error);

}  // namespace music

// The same as music::writeRendered, one per format.
bool writeMusicWav(const char* path, std::string& error);
bool writeMusicMp3(const char* path, std::string& error);
