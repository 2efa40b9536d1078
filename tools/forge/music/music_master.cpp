// Mastering: libebur128 measures the loudness; the limiter and its true-peak detector are ours,
// since they need the peak at every frame rather than the largest one.
#include "tools/forge/music/music_master.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <deque>

namespace music {

double integratedLoudness(const StereoBuffer& x) {
  ebur128_state* meter = ebur128_init(2, kRate, EBUR128_MODE_I);
  if (!meter) return -70.0;
  // Interleaved in slices, so the meter never needs a copy of the whole mix.
  std::vector<float> slice;
  const size_t sliceFrames = kRate;
  int status = EBUR128_SUCCESS;
  for (size_t from = 0; from < x.frames() && status == EBUR128_SUCCESS; from += sliceFrames) {
    const size_t count = std::min(sliceFrames, x.frames() - from);
    slice.resize(2 * count);
    for (size_t i = 0; i < count; ++i) {
      slice[2 * i] = x.left[from + i];
      slice[2 * i + 1] = x.right[from + i];
    }
    status = ebur128_add_frames_float(meter, slice.data(), count);
  }
  double lufs = -HUGE_VAL;
  if (status == EBUR128_SUCCESS) ebur128_loudness_global(meter, &lufs);
  ebur128_destroy(&meter);
  // Silence, or too short for one gated block: the meter's floor.
  return std::isfinite(lufs) ? std::max(lufs, -70.0) : -70.0;
}

std::vector<float> truePeaks(const StereoBuffer& x) {
  constexpr int kHalf = 8;
  // Hann-windowed sinc taps for the points a quarter, a half and three quarters past a frame.
  double taps[3][2 * kHalf];
  for (int p = 0; p < 3; ++p) {
    const double frac = 0.25 * (p + 1);
    for (int k = 0; k < 2 * kHalf; ++k) {
      const double t = (k - kHalf + 1) - frac;
      const double sinc = std::sin(kPi * t) / (kPi * t);
      taps[p][k] = sinc * (0.5 + 0.5 * std::cos(kPi * t / kHalf));
    }
  }
  const long frames = static_cast<long>(x.frames());
  std::vector<float> peaks(x.frames(), 0.0f);
  for (const std::vector<float>* channel : {&x.left, &x.right}) {
    const std::vector<float>& c = *channel;
    for (long n = 0; n < frames; ++n) {
      float peak = std::fabs(c[n]);
      if (n >= kHalf - 1 && n + kHalf < frames) {
        for (int p = 0; p < 3; ++p) {
          double v = 0.0;
          for (int k = 0; k < 2 * kHalf; ++k) v += taps[p][k] * c[n + k - kHalf + 1];
          peak = std::max(peak, static_cast<float>(std::fabs(v)));
        }
      }
      peaks[n] = std::max(peaks[n], peak);
    }
  }
  return peaks;
}

void applyLimiter(StereoBuffer& x, const std::vector<float>& peaks, double gain, double ceiling,
                  double lookahead, double release) {
  const size_t frames = x.frames();
  const size_t window = std::max<size_t>(1, static_cast<size_t>(toFrame(lookahead)));
  // Smallest gain any peak within the next `window` frames needs (sliding minimum).
  std::vector<double> need(frames);
  std::deque<size_t> order;
  auto required = [&](size_t i) {
    const double level = peaks[i] * gain;
    return level > ceiling ? ceiling / level : 1.0;
  };
  for (size_t i = frames; i-- > 0;) {
    const double r = required(i);
    while (!order.empty() && required(order.back()) >= r) order.pop_back();
    order.push_back(i);
    while (order.front() >= i + window) order.pop_front();
    need[i] = required(order.front());
  }
  // Release: the gain may rise only slowly; it may always fall at once.
  const double recover = 1.0 - std::exp(-1.0 / (release * kRate));
  double held = 1.0;
  for (size_t i = 0; i < frames; ++i) {
    held = std::min(need[i], held + (1.0 - held) * recover);
    need[i] = held;
  }
  // A moving average over the window turns the steps into ramps that still meet every peak. Before
  // the first frame it counts the first frame's gain, which already covers the first window.
  const double before = frames ? need[0] : 1.0;
  double sum = 0.0;
  for (size_t i = 0; i < frames; ++i) {
    sum += need[i];
    if (i >= window) sum -= need[i - window];
    const double count = static_cast<double>(std::min(i + 1, window));
    const double g = gain * (sum + (window - count) * before) / window;
    x.left[i] = static_cast<float>(x.left[i] * g);
    x.right[i] = static_cast<float>(x.right[i] * g);
  }
}

MasterResult masterMix(const StereoBuffer& mix, const MasterSettings& settings) {
  MasterResult result;
  const std::vector<float> peaks = truePeaks(mix);
  const double ceiling = std::pow(10.0, settings.ceilingDb / 20.0);
  double gain = 1.0;
  StereoBuffer limited;
  // The limiter takes more off as the gain rises, so a few corrections converge on the target.
  for (int pass = 0; pass < 8; ++pass) {
    limited = mix;
    applyLimiter(limited, peaks, gain, ceiling, 0.004, 0.12);
    result.loudness = integratedLoudness(limited);
    const double error = settings.targetLufs - result.loudness;
    if (std::fabs(error) < 0.02 || result.loudness <= -70.0) break;
    gain *= std::pow(10.0, error / 20.0);
  }
  result.gainDb = 20.0 * std::log10(gain);
  result.pcm.resize(limited.frames() * 2);
  for (size_t i = 0; i < limited.frames(); ++i) {
    result.pcm[2 * i] =
        static_cast<int16_t>(std::lround(std::clamp(limited.left[i], -1.0f, 1.0f) * 32767.0f));
    result.pcm[2 * i + 1] =
        static_cast<int16_t>(std::lround(std::clamp(limited.right[i], -1.0f, 1.0f) * 32767.0f));
  }
  return result;
}

}  // namespace music
