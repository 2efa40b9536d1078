// Mastering. The K-weighting filters are derived for the sample rate from the analogue prototypes
// of BS.1770 (a +4 dB shelf near 1.7 kHz and a high-pass near 38 Hz), as pyloudnorm does.
#include "tools/forge/music_master.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace music {
namespace {

struct Biquad {
  double b0, b1, b2, a1, a2;
  double z1 = 0, z2 = 0;
  double process(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

Biquad shelfStage() {
  const double gainDb = 3.999843853973347, f0 = 1681.974450955533, q = 0.7071752369554196;
  const double k = std::tan(kPi * f0 / kRate);
  const double vh = std::pow(10.0, gainDb / 20.0);
  const double vb = std::pow(vh, 0.4996667741545416);
  const double a0 = 1.0 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad highPassStage() {
  const double f0 = 38.13547087602444, q = 0.5003270373238773;
  const double k = std::tan(kPi * f0 / kRate);
  const double a0 = 1.0 + k / q + k * k;
  return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// Squared K-weighted signal of one channel, summed per 100 ms step.
std::vector<double> weightedEnergySteps(const std::vector<float>& x, size_t step) {
  Biquad shelf = shelfStage(), high = highPassStage();
  std::vector<double> steps(x.size() / step, 0.0);
  for (size_t i = 0; i < steps.size() * step; ++i) {
    const double y = high.process(shelf.process(x[i]));
    steps[i / step] += y * y;
  }
  return steps;
}

double toLufs(double meanSquare) {
  return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-30));
}

}  // namespace

double integratedLoudness(const StereoBuffer& x) {
  const size_t step = kRate / 10;
  std::vector<double> energy = weightedEnergySteps(x.left, step);
  const std::vector<double> right = weightedEnergySteps(x.right, step);
  for (size_t i = 0; i < energy.size(); ++i) energy[i] += right[i];
  // 400 ms blocks overlapping by 75 %.
  std::vector<double> blocks;
  for (size_t i = 0; i + 4 <= energy.size(); ++i) {
    blocks.push_back((energy[i] + energy[i + 1] + energy[i + 2] + energy[i + 3]) / (4.0 * step));
  }
  auto gatedMean = [&](double gateLufs, size_t& used) {
    double sum = 0.0;
    used = 0;
    for (double b : blocks) {
      if (toLufs(b) > gateLufs) {
        sum += b;
        ++used;
      }
    }
    return used ? sum / used : 0.0;
  };
  size_t used = 0;
  const double absolute = gatedMean(-70.0, used);
  if (used == 0) return -70.0;
  const double relative = gatedMean(toLufs(absolute) - 10.0, used);
  return used ? toLufs(relative) : -70.0;
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
