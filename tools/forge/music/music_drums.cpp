// Percussion voices. Lengths are cut where the envelope has fallen below about -70 dB.
#include "tools/forge/music/music_drums.h"

#include <algorithm>
#include <cmath>

namespace music {

void renderKick(const Target& to, double start, float velocity) {
  const long first = toFrame(start);
  const long count = toFrame(0.55);
  Rng noise(0x51ed + static_cast<uint32_t>(first));
  Osc body;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double hz = 44.0 + 120.0 * std::exp(-t / 0.032);
    const double attack = std::min(1.0, t / 0.0015);
    double s = body.sine(hz) * attack * std::exp(-t / 0.19);
    s += noise.bipolar() * 0.25 * std::exp(-t / 0.0025);
    const float v = static_cast<float>(std::tanh(1.6 * s) * velocity);
    to.add(first + n, v, v);
  }
}

void renderSnare(const Target& to, double start, float velocity, uint32_t seed) {
  const long first = toFrame(start);
  const long count = toFrame(0.5);
  Rng noise(seed);
  Svf band;
  band.set(2300.0, 0.9);
  Osc tone, ringA, ringB;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double body = tone.sine(175.0 + 60.0 * std::exp(-t / 0.01)) * std::exp(-t / 0.05);
    const Svf::Out f = band.process(noise.bipolar());
    const double hiss = (f.band * 1.2 + f.high * 0.35) * std::exp(-t / 0.11);
    // Two detuned square partials: the clank that makes it sound like a machine part.
    const double ring = (ringA.pulse(331.0, 0.5) * ringB.pulse(587.0, 0.5)) * std::exp(-t / 0.045);
    const float v = static_cast<float>((body * 0.8 + hiss * 1.05 + ring * 0.15) * velocity);
    to.add(first + n, v, v);
  }
}

void renderHat(const Target& to, double start, float velocity, bool open, float pan,
               uint32_t seed) {
  const double tau = open ? 0.11 : 0.022;
  const long first = toFrame(start);
  const long count = toFrame(tau * 8.0);
  Rng noise(seed);
  Svf high;
  high.set(7500.0, 0.8);
  Osc m1, m2;
  const Pan place(pan);
  // The ring of two square partials sounds at their sum and difference. At fixed pitches every hat
  // repeated one tone near 9.3 kHz, a whistle through the whole groove; each hat tunes its own.
  const double tune = 1.0 + 0.15 * noise.bipolar();
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double metal = m1.pulse(4013.0 * tune, 0.5) * m2.pulse(5279.0 * tune, 0.5) * 0.3;
    const double s = high.process(static_cast<float>(noise.bipolar() + metal)).high;
    to.addPanned(first + n, static_cast<float>(s * std::exp(-t / tau) * velocity), place);
  }
}

void renderImpact(const Target& to, const Impact& hit) {
  const long first = toFrame(hit.start);
  const long count = toFrame(hit.length);
  const long fade = toFrame(0.004);
  Rng noiseL(hit.seed), noiseR(hit.seed * 7919u + 13u), clickNoise(hit.seed ^ 0x5bd1e995u);
  Svf lowL, lowR;
  Osc kick, boom, clangA, clangB;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double attack = std::min(1.0, t / 0.001);
    const double k = kick.sine(40.0 + 150.0 * std::exp(-t / 0.045)) * std::exp(-t / 0.32);
    const double b = boom.sine(36.71 + 22.0 * std::exp(-t / 0.12)) * std::min(1.0, t / 0.004) *
                     std::exp(-t / hit.boomTau);
    if (n % 16 == 0) {
      const double cutoff = 600.0 + 11000.0 * std::exp(-t / 0.07);
      lowL.set(cutoff, 0.7);
      lowR.set(cutoff * 0.92, 0.7);
    }
    const double burst = std::exp(-t / 0.16);
    const double nl = lowL.process(noiseL.bipolar()).low * burst;
    const double nr = lowR.process(noiseR.bipolar()).low * burst;
    const double clang = clangA.sine(311.0) * clangB.sine(1187.0) * std::exp(-t / 0.25);
    // The boom is saturated so that its overtones carry it on small speakers.
    const double low = std::tanh(1.8 * (k * 0.9 + b * 0.65)) * attack;
    double gain = hit.strength;
    if (n > count - fade) gain *= static_cast<double>(count - n) / fade;
    const double mid = low + clang * 0.3;
    // A full-band crack of a few milliseconds: the attack that still stands out after a riser
    // has filled the spectrum.
    const double crack = clickNoise.bipolar() * std::exp(-t / 0.003) * 0.6;
    to.add(first + n, static_cast<float>((mid + nl * 0.7 + crack) * gain),
           static_cast<float>((mid + nr * 0.7 + crack) * gain));
  }
}

void renderRiser(const Target& to, double start, double end, float level, uint32_t seed) {
  const long first = toFrame(start);
  const double silentAt = end - 0.025;  // the gap before the hit
  const double fadeFrom = end - 0.12;
  const long count = toFrame(silentAt - start);
  Rng noiseL(seed), noiseR(seed ^ 0xa5a5a5u);
  Svf bandL, bandR;
  const double length = silentAt - start;
  for (long n = 0; n < count; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double u = t / length;
    if (n % 16 == 0) {
      const double centre = 250.0 * std::pow(28.0, u);
      bandL.set(centre, 2.5);
      bandR.set(centre * 1.07, 2.5);
    }
    double gain = u * u * level;
    const double now = start + t;
    if (now > fadeFrom) gain *= std::max(0.0, (silentAt - now) / (silentAt - fadeFrom));
    const float l = static_cast<float>(bandL.process(noiseL.bipolar()).band * gain);
    const float r = static_cast<float>(bandR.process(noiseR.bipolar()).band * gain);
    to.add(first + n, l, r);
  }
}

}  // namespace music
