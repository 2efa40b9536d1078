// The score's clock: the hit times the visuals flash on, and a beat grid near 150 beats per minute
// bent piecewise so that chosen beats land exactly on those times.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "app/timeline.h"

namespace music {

constexpr double kMusicSeconds = 20.0;
constexpr size_t kHitCount = kFlashEventCount + 1;
// The timeline's flash times and the closing hit at the end of the last scene, in milliseconds.
constexpr std::array<double, kHitCount> hitTimesMs() {
  std::array<double, kHitCount> times{};
  for (int i = 0; i < kFlashEventCount; ++i) times[i] = flashTimes[i];
  times[kFlashEventCount] = sceneEnds[kSceneCount - 1];
  return times;
}
constexpr std::array<double, kHitCount> kHitTimesMs = hitTimesMs();

// Maps beats to milliseconds through anchors (beat, ms); linear between anchors, 400 ms per beat
// before the first and 409 ms per beat after the last.
class BeatMap {
 public:
  BeatMap();
  double ms(double beat) const;
  double seconds(double beat) const { return ms(beat) / 1000.0; }
  // Length in seconds of `beats` beats starting at `beat`.
  double span(double beat, double beats) const { return seconds(beat + beats) - seconds(beat); }

  struct Anchor {
    double beat;
    double ms;
  };
  const std::vector<Anchor>& anchors() const { return anchors_; }

 private:
  std::vector<Anchor> anchors_;
};

}  // namespace music
