// A one-line progress bar on stderr (frames done, frames per second, time left), drawn only when
// stderr is a terminal so that logs and pipes stay clean.
#pragma once

#include <chrono>
#include <cstddef>

namespace headless {

class Progress {
 public:
  explicit Progress(size_t total);
  // After each frame; redraws at most ten times a second.
  void step(size_t done);
  // Ends the line.
  void finish();
  // Frames per second over the whole run so far.
  double framesPerSecond(size_t done) const;

 private:
  size_t total_;
  bool enabled_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
  bool drawn_ = false;
};

}  // namespace headless
