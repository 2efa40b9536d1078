// Building blocks of the music synthesiser: stereo buses, a seeded noise source, band-limited
// oscillators and filters. Everything is deterministic: no clocks, no global random state.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace music {

constexpr int kRate = 44100;  // frames per second
constexpr double kPi = 3.14159265358979323846;

// Two float channels of equal length.
struct StereoBuffer {
  std::vector<float> left, right;
  explicit StereoBuffer(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
  size_t frames() const { return left.size(); }
};

// Where a voice writes: a dry bus plus optional reverb and delay sends, at a stereo position.
struct Target {
  StereoBuffer* dry = nullptr;
  StereoBuffer* reverb = nullptr;
  StereoBuffer* delay = nullptr;
  float reverbSend = 0.0f;
  float delaySend = 0.0f;

  // Adds one stereo frame at `frame`; frames outside the buses are dropped.
  void add(long frame, float l, float r) const;
  // Adds a mono sample placed by the gains of `pan`.
  void addPanned(long frame, float s, const struct Pan& pan) const;
};

// xorshift32: a fixed, portable sequence for a given seed.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
  uint32_t next();
  float bipolar() { return static_cast<float>(next() >> 8) * (2.0f / 16777216.0f) - 1.0f; }
  float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }

 private:
  uint32_t state_;
};

double midiToHz(double note);
inline long toFrame(double seconds) {
  return std::lround(seconds * kRate);
}

// Topology-preserving state-variable filter: stable for any cutoff below Nyquist, cheap to retune.
class Svf {
 public:
  struct Out {
    float low, band, high;
  };
  void set(double hz, double q);
  Out process(float x);

 private:
  double a1_ = 0, a2_ = 0, a3_ = 0, k_ = 1, ic1_ = 0, ic2_ = 0;
};

// One-pole low-pass, also used as a DC/rumble blocker through `high`.
class OnePole {
 public:
  void set(double hz) { coef_ = 1.0 - std::exp(-2.0 * kPi * hz / kRate); }
  float low(float x) { return static_cast<float>(state_ += coef_ * (x - state_)); }
  float high(float x) { return x - low(x); }

 private:
  double coef_ = 1.0, state_ = 0.0;
};

// Phase accumulator with band-limited saw and pulse (polyBLEP) and a plain sine.
class Osc {
 public:
  explicit Osc(double phase = 0.0) : phase_(phase) {}
  // Each call advances the phase by one frame at `hz`.
  float saw(double hz);
  float pulse(double hz, double width);
  float sine(double hz);

 private:
  double advance(double hz);
  double phase_;
};

// Constant-power gains for a stereo position from -1 (left) to +1 (right).
struct Pan {
  explicit Pan(float position);
  float left, right;
};

// A smooth 0..1 ramp: 0 before `start`, 1 after `start + length`.
double smoothRamp(double t, double start, double length);

}  // namespace music
