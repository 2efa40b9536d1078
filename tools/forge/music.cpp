// The music "muza_final.mp3": the score rendered into buses, mixed through the send effects,
// mastered to the loudness target and encoded. Same bytes on every run.
#include "tools/forge/music.h"

#include <cstdio>

#include "tools/forge/music_effects.h"
#include "tools/forge/music_encode.h"
#include "tools/forge/music_master.h"
#include "tools/forge/music_render.h"
#include "tools/forge/music_score.h"

namespace music {
namespace {

StereoBuffer mixdown(const MixBuses& buses) {
  const size_t frames = buses.groove.frames();
  const std::vector<float> duck = grooveDucking(frames);
  const StereoBuffer reverb = applyReverb(buses.reverbSend, {0.9, 0.3});
  const StereoBuffer echo = applyPingPong(buses.delaySend, 0.3, 0.38);
  StereoBuffer mix(frames);
  OnePole rumbleL, rumbleR;
  rumbleL.set(22.0);
  rumbleR.set(22.0);
  // The last second fades to nothing so the file ends in silence whatever the reverb holds.
  const double fadeFrom = kMusicSeconds - 1.1, fadeTo = kMusicSeconds - 0.15;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const float fade = static_cast<float>(1.0 - smoothRamp(t, fadeFrom, fadeTo - fadeFrom));
    const float l =
        buses.groove.left[i] * duck[i] + buses.hits.left[i] + reverb.left[i] + echo.left[i] * 0.6f;
    const float r = buses.groove.right[i] * duck[i] + buses.hits.right[i] + reverb.right[i] +
                    echo.right[i] * 0.6f;
    mix.left[i] = rumbleL.high(l) * fade;
    mix.right[i] = rumbleR.high(r) * fade;
  }
  return mix;
}

}  // namespace

bool writeBytes(const char* path, const std::vector<uint8_t>& bytes, std::string& error) {
  FILE* f = std::fopen(path, "wb");
  if (!f) {
    error = std::string("music: cannot create ") + path;
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) {
    error = std::string("music: cannot write ") + path;
    return false;
  }
  return true;
}

RenderedMusic renderMusic() {
  MixBuses buses(static_cast<size_t>(toFrame(kMusicSeconds)));
  composeScore(buses, BeatMap());
  MasterResult master = masterMix(mixdown(buses), MasterSettings());
  return {std::move(master.pcm), master.loudness, master.gainDb};
}

}  // namespace music

std::vector<uint8_t> makeMusicMp3(std::string& error) {
  return music::encodeMp3(music::renderMusic().pcm, error);
}

bool writeMusicWav(const char* path, std::string& error) {
  return music::writeBytes(path, music::wavBytes(music::renderMusic().pcm), error);
}

bool writeMusicMp3(const char* path, std::string& error) {
  const std::vector<uint8_t> bytes = makeMusicMp3(error);
  return !bytes.empty() && music::writeBytes(path, bytes, error);
}
