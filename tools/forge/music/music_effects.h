// Send effects of the mix: a Schroeder/Moorer reverb (eight damped combs, four all-passes per
// side) and a ping-pong echo. Both turn a send bus into a return bus of the same length.
#pragma once

#include "tools/forge/music/music_dsp.h"

namespace music {

struct ReverbSettings {
  double feedback = 0.9;  // comb feedback: longer tails as it nears 1
  double damping = 0.3;   // high-frequency loss in the tail, 0..1
};
StereoBuffer applyReverb(const StereoBuffer& send, const ReverbSettings& settings);

// Echo bouncing between the sides every `delaySeconds`, darker on each repeat.
StereoBuffer applyPingPong(const StereoBuffer& send, double delaySeconds, double feedback);

// Feed-forward compressor on the level of both sides together: above `thresholdDb` the level
// grows only 1/`ratio` as fast. Attack and release are time constants in seconds.
void compress(StereoBuffer& bus, double thresholdDb, double ratio, double attack, double release);

}  // namespace music
