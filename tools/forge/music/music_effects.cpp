// Send effects. The comb and all-pass lengths are the classic mutually prime tunings for 44.1 kHz;
// the right side is offset by a few frames so the tail spreads in stereo.
#include "tools/forge/music/music_effects.h"

#include <cmath>
#include <vector>

namespace music {
namespace {

class Comb {
 public:
  explicit Comb(size_t length) : buffer_(length, 0.0f) {}
  float process(float x, double feedback, double damping) {
    const float out = buffer_[pos_];
    store_ = static_cast<float>(out * (1.0 - damping) + store_ * damping);
    buffer_[pos_] = static_cast<float>(x + store_ * feedback);
    if (++pos_ == buffer_.size()) pos_ = 0;
    return out;
  }

 private:
  std::vector<float> buffer_;
  size_t pos_ = 0;
  float store_ = 0.0f;
};

class AllPass {
 public:
  explicit AllPass(size_t length) : buffer_(length, 0.0f) {}
  float process(float x) {
    const float delayed = buffer_[pos_];
    buffer_[pos_] = x + delayed * 0.5f;
    if (++pos_ == buffer_.size()) pos_ = 0;
    return delayed - x;
  }

 private:
  std::vector<float> buffer_;
  size_t pos_ = 0;
};

void reverbSide(const std::vector<float>& in, std::vector<float>& out, size_t spread,
                const ReverbSettings& s) {
  const size_t combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  const size_t allPassLengths[4] = {556, 441, 341, 225};
  std::vector<Comb> combs;
  for (size_t len : combLengths) combs.emplace_back(len + spread);
  std::vector<AllPass> allPasses;
  for (size_t len : allPassLengths) allPasses.emplace_back(len + spread);
  for (size_t i = 0; i < in.size(); ++i) {
    const float x = in[i] * 0.015f;
    float sum = 0.0f;
    for (Comb& c : combs) sum += c.process(x, s.feedback, s.damping);
    for (AllPass& a : allPasses) sum = a.process(sum);
    out[i] = sum;
  }
}

}  // namespace

StereoBuffer applyReverb(const StereoBuffer& send, const ReverbSettings& settings) {
  StereoBuffer out(send.frames());
  reverbSide(send.left, out.left, 0, settings);
  reverbSide(send.right, out.right, 23, settings);
  return out;
}

StereoBuffer applyPingPong(const StereoBuffer& send, double delaySeconds, double feedback) {
  StereoBuffer out(send.frames());
  const size_t delay = static_cast<size_t>(toFrame(delaySeconds));
  if (delay == 0) return out;
  std::vector<float> lineL(delay, 0.0f), lineR(delay, 0.0f);
  OnePole toneL, toneR;
  toneL.set(3500.0);
  toneR.set(3500.0);
  size_t pos = 0;
  for (size_t i = 0; i < send.frames(); ++i) {
    const float echoL = lineL[pos], echoR = lineR[pos];
    out.left[i] = echoL;
    out.right[i] = echoR;
    // Input enters on the left only; each repeat crosses to the other side.
    const float mono = 0.5f * (send.left[i] + send.right[i]);
    lineL[pos] = toneL.low(static_cast<float>(mono + echoR * feedback));
    lineR[pos] = toneR.low(static_cast<float>(echoL * feedback));
    if (++pos == delay) pos = 0;
  }
  return out;
}

void compress(StereoBuffer& bus, double thresholdDb, double ratio, double attack, double release) {
  const double up = 1.0 - std::exp(-1.0 / (attack * kRate));
  const double down = 1.0 - std::exp(-1.0 / (release * kRate));
  double level = 0.0;  // smoothed mean square
  for (size_t i = 0; i < bus.frames(); ++i) {
    const double power = 0.5 * (bus.left[i] * bus.left[i] + bus.right[i] * bus.right[i]);
    level += (power > level ? up : down) * (power - level);
    const double db = 10.0 * std::log10(level + 1e-12);
    if (db <= thresholdDb) continue;
    const double gain = std::pow(10.0, -(db - thresholdDb) * (1.0 - 1.0 / ratio) / 20.0);
    bus.left[i] = static_cast<float>(bus.left[i] * gain);
    bus.right[i] = static_cast<float>(bus.right[i] * gain);
  }
}

}  // namespace music
