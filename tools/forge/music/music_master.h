// Mastering: the integrated loudness (libebur128), a 4x oversampled true-peak estimate per frame
// and a look-ahead limiter, combined into a gain search that brings the mix to a loudness target
// under a true-peak ceiling.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/forge/music/music_dsp.h"

namespace music {

// Integrated loudness in LUFS (ITU-R BS.1770 with both gates); -70 for silence or a buffer
// shorter than one 400 ms block.
double integratedLoudness(const StereoBuffer& x);

// Per frame, the largest of both channels' magnitudes at the frame and at three points between it
// and the next frame (band-limited interpolation).
std::vector<float> truePeaks(const StereoBuffer& x);

// Scales `x` by `gain`, then lowers the gain wherever gain * peaks would exceed `ceiling`. The gain
// falls over `lookahead` seconds before a peak and recovers with time constant `release`.
void applyLimiter(StereoBuffer& x, const std::vector<float>& peaks, double gain, double ceiling,
                  double lookahead, double release);

struct MasterSettings {
  double targetLufs = -13.8;
  // True-peak ceiling before encoding; the codec's overshoot must still leave the file at -1 dBTP.
  double ceilingDb = -2.0;
};
struct MasterResult {
  std::vector<int16_t> pcm;  // interleaved stereo
  double gainDb = 0;         // make-up gain before the limiter
  double loudness = 0;       // LUFS of the limited float mix
};
MasterResult masterMix(const StereoBuffer& mix, const MasterSettings& settings);

}  // namespace music
