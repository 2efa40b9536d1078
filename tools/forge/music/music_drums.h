// Percussion voices: the groove's kick, snare and hats, the layered impact that marks each hit,
// and the noise riser that leads into a hit. Each renders one event into a Target.
#pragma once

#include <cstdint>

#include "tools/forge/music/music_dsp.h"

namespace music {

void renderKick(const Target& to, double start, float velocity);
void renderSnare(const Target& to, double start, float velocity, uint32_t seed);
void renderHat(const Target& to, double start, float velocity, bool open, float pan, uint32_t seed);

struct Impact {
  double start = 0;       // seconds
  float strength = 1;     // overall level
  double length = 1.6;    // seconds until the hit is cut (a stutter chokes it early)
  double boomTau = 0.55;  // decay time constant of the low boom, seconds
  uint32_t seed = 1;
};
// Kick, noise burst, low boom and a metallic clang, all starting on the same frame.
void renderImpact(const Target& to, const Impact& hit);

// Band-passed noise sweeping upwards from `start`, gone shortly before `end` so that the hit at
// `end` comes out of a short gap.
void renderRiser(const Target& to, double start, double end, float level, uint32_t seed);

}  // namespace music
