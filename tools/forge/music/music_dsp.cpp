// Building blocks of the music synthesiser: buses, noise, oscillators and filters.
#include "tools/forge/music/music_dsp.h"

#include <algorithm>

namespace music {

void Target::add(long frame, float l, float r) const {
  if (frame < 0) return;
  const size_t i = static_cast<size_t>(frame);
  if (dry && i < dry->frames()) {
    dry->left[i] += l;
    dry->right[i] += r;
  }
  if (reverb && reverbSend != 0.0f && i < reverb->frames()) {
    reverb->left[i] += l * reverbSend;
    reverb->right[i] += r * reverbSend;
  }
  if (delay && delaySend != 0.0f && i < delay->frames()) {
    delay->left[i] += l * delaySend;
    delay->right[i] += r * delaySend;
  }
}

void Target::addPanned(long frame, float s, const Pan& pan) const {
  add(frame, s * pan.left, s * pan.right);
}

uint32_t Rng::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double midiToHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

void Svf::set(double hz, double q) {
  hz = std::clamp(hz, 10.0, kRate * 0.45);
  const double g = std::tan(kPi * hz / kRate);
  k_ = 1.0 / std::max(q, 0.05);
  a1_ = 1.0 / (1.0 + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

Svf::Out Svf::process(float x) {
  const double v3 = x - ic2_;
  const double v1 = a1_ * ic1_ + a2_ * v3;
  const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(x - k_ * v1 - v2)};
}

// The polyBLEP residual that removes most of the aliasing of a hard step.
static double polyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Osc::advance(double hz) {
  const double dt = std::min(hz / kRate, 0.49);
  phase_ += dt;
  if (phase_ >= 1.0) phase_ -= std::floor(phase_);
  return dt;
}

float Osc::saw(double hz) {
  const double dt = advance(hz);
  return static_cast<float>(2.0 * phase_ - 1.0 - polyBlep(phase_, dt));
}

float Osc::pulse(double hz, double width) {
  const double dt = advance(hz);
  double shifted = phase_ + (1.0 - width);
  shifted -= std::floor(shifted);
  const double v = (phase_ < width ? 1.0 : -1.0) + polyBlep(phase_, dt) - polyBlep(shifted, dt);
  return static_cast<float>(v);
}

float Osc::sine(double hz) {
  advance(hz);
  return static_cast<float>(std::sin(2.0 * kPi * phase_));
}

Pan::Pan(float position) {
  const double angle = (std::clamp(position, -1.0f, 1.0f) + 1.0) * kPi / 4.0;
  left = static_cast<float>(std::cos(angle));
  right = static_cast<float>(std::sin(angle));
}

double smoothRamp(double t, double start, double length) {
  if (length <= 0.0) return t >= start ? 1.0 : 0.0;
  const double u = std::clamp((t - start) / length, 0.0, 1.0);
  return u * u * (3.0 - 2.0 * u);
}

}  // namespace music
