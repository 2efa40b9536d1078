// The music "muza_final.mp3": the score rendered into buses, mixed through the send effects,
// mastered to the loudness target and encoded. Same bytes on every run.
#include "tools/forge/music/music.h"

#include "platform/files.h"
#include "tools/forge/music/music_effects.h"
#include "tools/forge/music/music_encode.h"
#include "tools/forge/music/music_master.h"
#include "tools/forge/music/music_render.h"
#include "tools/forge/music/music_score.h"

namespace music {
namespace {

// Level of the groove under the hits: the hits must stand out of it.
constexpr float kGrooveGain = 0.9f;

StereoBuffer mixdown(MixBuses& buses) {
  const size_t frames = buses.groove.frames();
  // A squeezed groove keeps the loudness up while its peaks stay below the hits'.
  compress(buses.groove, -13.0, 2.5, 0.005, 0.12);
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
    const float l = buses.groove.left[i] * duck[i] * kGrooveGain + buses.hits.left[i] +
                    reverb.left[i] + echo.left[i] * 0.6f;
    const float r = buses.groove.right[i] * duck[i] * kGrooveGain + buses.hits.right[i] +
                    reverb.right[i] + echo.right[i] * 0.6f;
    mix.left[i] = rumbleL.high(l) * fade;
    mix.right[i] = rumbleR.high(r) * fade;
  }
  return mix;
}

}  // namespace

// Opens `path` before the render so that a bad path fails at once; the name is replaced only by a
// complete file (see File::create).
bool writeRendered(const char* path, bool mp3, std::string& error) {
  platform::File f = platform::File::create(path);
  if (!f.isOpen()) {
    error = std::string("music: cannot create ") + path;
    return false;
  }
  error.clear();
  const std::vector<uint8_t> bytes = mp3 ? makeMusicMp3(error) : wavBytes(renderMusic().pcm);
  if (!bytes.empty() && f.write(bytes.data(), bytes.size()) && f.close()) return true;
  if (error.empty()) error = std::string("music: cannot write ") + path;
  return false;
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
  return music::writeRendered(path, false, error);
}

bool writeMusicMp3(const char* path, std::string& error) {
  return music::writeRendered(path, true, error);
}
