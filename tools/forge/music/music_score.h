// The composition: D minor, a bent grid near 150 beats per minute, sections that follow the
// scenes, and a layered impact on every hit time. Renders every event into the mix buses.
#pragma once

#include <vector>

#include "tools/forge/music/music_dsp.h"
#include "tools/forge/music/music_timing.h"

namespace music {

// The buses the score writes; the mixdown ducks `groove` around the hits and feeds the sends
// through the reverb and the echo.
struct MixBuses {
  StereoBuffer groove;      // drums, bass, pad, lead
  StereoBuffer hits;        // impacts, risers, stabs: never ducked
  StereoBuffer reverbSend;  // into the reverb
  StereoBuffer delaySend;   // into the ping-pong echo
  explicit MixBuses(size_t frames)
      : groove(frames), hits(frames), reverbSend(frames), delaySend(frames) {}
};

void composeScore(MixBuses& buses, const BeatMap& beats);

// Gain of the groove bus per frame: a short gap before each hit, a recovery after it, and silence
// during the stutter so that the three stutter hits stand alone.
std::vector<float> grooveDucking(size_t frames);

}  // namespace music
