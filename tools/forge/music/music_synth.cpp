// Pitched voices of the music. Filters are retuned every 16 frames: their envelopes are slow
// enough that this is inaudible and it keeps tan() out of the inner loop.
#include "tools/forge/music/music_synth.h"

#include <algorithm>
#include <cmath>

namespace music {
namespace {

constexpr int kRetune = 16;

// Attack, hold and exponential release; 0 once the release has fallen 60 dB.
double holdEnvelope(double t, double attack, double length, double release) {
  const double rise = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
  if (t <= length) return rise;
  return rise * std::exp(-(t - length) * 6.9 / release);
}

}  // namespace

void renderBass(const Target& to, const Note& note) {
  const double release = 0.03;
  const long first = toFrame(note.start);
  const long count = toFrame(note.length + release);
  const double hz = midiToHz(note.pitch);
  Osc sawA(0.0), sawB(0.37), sub(0.0);
  Svf low;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    if (n % kRetune == 0) low.set(160.0 + 2200.0 * note.velocity * std::exp(-t / 0.07), 2.2);
    const double raw = sawA.saw(hz * 1.0035) + sawB.saw(hz * 0.9965);
    const double s = low.process(static_cast<float>(raw * 0.5)).low + sub.sine(hz * 0.5) * 0.45;
    const double env = holdEnvelope(t, 0.003, note.length, release);
    const float v = static_cast<float>(std::tanh(1.4 * s) * env * (0.3 + 0.25 * note.velocity));
    to.add(first + n, v, v);
  }
}

void renderPad(const Target& to, double start, double length, const std::vector<int>& pitches,
               float velocity, double attack, double release, uint32_t seed) {
  const long first = toFrame(start);
  const long count = toFrame(length + release);
  const double detune[3] = {-0.11, 0.0, 0.12};  // semitones
  Rng rng(seed);
  for (size_t p = 0; p < pitches.size(); ++p) {
    Osc osc[3] = {Osc(rng.unit()), Osc(rng.unit()), Osc(rng.unit())};
    double hz[3];
    for (int k = 0; k < 3; ++k) hz[k] = midiToHz(pitches[p] + detune[k]);
    const Pan pan(pitches.size() > 1 ? -0.6f + 1.2f * p / (pitches.size() - 1) : 0.0f);
    const double lfoPhase = rng.unit() * 2.0 * kPi;
    Svf low;
    for (long n = 0; n < count; ++n) {
      const double t = static_cast<double>(n) / kRate;
      if (n % kRetune == 0) {
        low.set(1300.0 + 500.0 * std::sin(2.0 * kPi * 0.23 * t + lfoPhase), 0.9);
      }
      const double raw = osc[0].saw(hz[0]) + osc[1].saw(hz[1]) + osc[2].saw(hz[2]);
      const double env = holdEnvelope(t, attack, length, release);
      const float s = low.process(static_cast<float>(raw * env)).low;
      to.addPanned(first + n, s * velocity * 0.4f, pan);
    }
  }
}

void renderLead(const Target& to, const Note& note, double from, float pan) {
  const double release = 0.09;
  const long first = toFrame(note.start);
  const long count = toFrame(note.length + release);
  Osc pulse, saw(0.5), vibrato;
  const Pan place(pan);
  Svf low;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double glide = from + (note.pitch - from) * std::min(1.0, t / 0.05);
    const double depth = 0.18 * smoothRamp(t, 0.15, 0.2);
    const double hz = midiToHz(glide + depth * vibrato.sine(5.3));
    if (n % kRetune == 0) low.set(700.0 + 3200.0 * std::exp(-t / 0.14), 1.4);
    const double width = 0.5 - 0.2 * std::exp(-t / 0.3);
    const double raw = pulse.pulse(hz, width) * 0.6 + saw.saw(hz * 1.004) * 0.5;
    const double env =
        holdEnvelope(t, 0.004, note.length, release) * (0.75 + 0.25 * std::exp(-t / 0.1));
    const float s = low.process(static_cast<float>(raw * env)).low;
    to.addPanned(first + n, s * note.velocity * 0.6f, place);
  }
}

void renderPluck(const Target& to, const Note& note, float pan) {
  const long first = toFrame(note.start);
  const long count = toFrame(std::max(note.length, 0.6));
  const double hz = midiToHz(note.pitch);
  Osc saw;
  Svf low;
  const Pan place(pan);
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    if (n % kRetune == 0) low.set(300.0 + 4200.0 * std::exp(-t / 0.045), 1.1);
    const double env = std::min(1.0, t / 0.002) * std::exp(-t / 0.09);
    const float s = low.process(static_cast<float>(saw.saw(hz) * env)).low;
    to.addPanned(first + n, s * note.velocity * 0.25f, place);
  }
}

void renderDrone(const Target& to, const Note& note, double attack, double release) {
  const long first = toFrame(note.start);
  const long count = toFrame(note.length + release);
  const double hz = midiToHz(note.pitch);
  Osc base, octave, beat;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double swell = t < attack ? std::pow(t / attack, 2.0) : 1.0;
    const double env = swell * holdEnvelope(t, 0.0, note.length, release);
    const double s = base.sine(hz) + octave.sine(hz * 2.0) * 0.3 + beat.sine(hz * 1.502) * 0.12;
    const float v = static_cast<float>(std::tanh(1.3 * s) * env * note.velocity);
    to.add(first + n, v, v);
  }
}

}  // namespace music
