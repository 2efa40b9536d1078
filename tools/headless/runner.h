// The presentation run with no viewer: the pack unpacked into a private folder, the real start-up
// through openWindow on SDL's off-screen driver, and frames at exactly the times the caller names.
// Shared by capture, trace and bench. The presentation's objects are process-wide, so a process
// opens one runner once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tools/common/temp_folder.h"
#include "tools/headless/stepped_counter.h"

namespace headless {

class HeadlessPlatform;

class Runner {
 public:
  Runner();
  ~Runner();
  Runner(const Runner&) = delete;
  Runner& operator=(const Runner&) = delete;

  // Unpacks the pack, enters its folder and runs the real start-up. False with a one-line `error`
  // when the pack is missing or bad, or when no GL context can be made; everything is undone then.
  // `loadingShown` sees the loading picture in the buffer.
  bool open(const std::string& packPath, std::string& error,
            const std::function<void()>& loadingShown = {});

  // One frame of the main loop at `elapsedMs` (not before the previous frame's time): the timer
  // reads it, timelineFrame draws, `beforeSwap` sees the picture, the buffers swap.
  void frame(uint32_t elapsedMs, const std::function<void()>& beforeSwap = {});

  // True once a close request arrived (SIGINT and SIGTERM come as one through SDL): the caller
  // stops and closes, so the private folder is removed also when a run is cut short.
  bool interrupted() const { return interrupted_; }

  // closeWindow, back to the old working directory, the private folder removed. Safe to repeat.
  void close();

  // The folder holding the unpacked files (the music for a video), while open.
  const std::string& folder() const { return folder_.path(); }

 private:
  SteppedCounter counter_;
  TempFolder folder_;
  std::unique_ptr<HeadlessPlatform> platform_;
  bool windowOpen_ = false;
  bool interrupted_ = false;
};

}  // namespace headless
