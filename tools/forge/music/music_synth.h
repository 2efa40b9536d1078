// Pitched voices: the dark bass, the pad, the lead, a short pluck for arpeggios and a low drone.
// Pitches are MIDI note numbers (69 = A 440 Hz); times are seconds.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/forge/music/music_dsp.h"

namespace music {

struct Note {
  double start = 0;    // seconds
  double length = 0;   // seconds the note is held; the release follows
  double pitch = 0;    // MIDI note number
  float velocity = 1;  // 0..1
};

// Two detuned saws and a sine an octave below through a resonant low-pass that snaps shut.
void renderBass(const Target& to, const Note& note);
// One chord: three detuned saws per pitch, slowly breathing filter, soft attack and release.
void renderPad(const Target& to, double start, double length, const std::vector<int>& pitches,
               float velocity, double attack, double release, uint32_t seed);
// Pulse and saw with delayed vibrato; `from` is the pitch it glides from (same pitch: no glide).
void renderLead(const Target& to, const Note& note, double from, float pan);
// A plucked saw: short filter and amplitude decay.
void renderPluck(const Target& to, const Note& note, float pan);
// Sine and a quiet octave, swelling in over `attack` and dying over `release` after `length`.
void renderDrone(const Target& to, const Note& note, double attack, double release);

}  // namespace music
