// The score's clock: the hit times the visuals flash on, and a beat grid near 150 beats per minute
// bent piecewise so that chosen beats land exactly on those times.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace music {

constexpr double kMusicSeconds = 20.0;
// The eleven flash times of the timeline and the closing hit, in milliseconds.
constexpr std::array<double, 12> kHitTimesMs = {1000,  2605,  4280,  5861,  9050,  9621,
                                                12000, 12149, 12349, 14604, 15591, 16000};

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
