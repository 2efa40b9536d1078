// The measuring run behind demotool bench. Start-up is timed from before the runner opens (unpack,
// window, context, loading picture, loadAssets) to the end of the first finished frame; the
// headless platform skips the one-second settling pause, so it is not counted.
#include "tools/frame_timing/bench_run.h"

#include <sys/resource.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "app/timeline.h"
#include "assets/catalogue.h"
#include "assets/data_pack.h"
#include "gfx/gl.h"
#include "tools/common/temp_folder.h"
#include "tools/headless/runner.h"
#include "tools/headless/tool_paths.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// What the catalogue's step observer saw; a plain function pointer can reach only globals.
struct StepClock {
  Clock::time_point began[9];
  double ms[9] = {};
  Clock::time_point firstBegin, lastEnd;
  int seen = 0;
};
StepClock stepClock;

void observeStep(const char* step, bool finished) {
  const Clock::time_point now = Clock::now();
  for (int g = 0; g < 9; ++g) {
    if (std::strcmp(step, kGroupNames[g]) != 0) continue;
    if (!finished) {
      stepClock.began[g] = now;
      if (stepClock.seen++ == 0) stepClock.firstBegin = now;
    } else {
      stepClock.ms[g] = msBetween(stepClock.began[g], now);
      stepClock.lastEnd = now;
    }
  }
}

// The same unpack as the runner's, into a folder of its own, timed alone: inside the runner's
// open it cannot be told apart from the window's creation.
bool timeUnpack(const std::string& packPath, double& ms, std::string& error) {
  TempFolder folder;
  if (!folder.create("demotool-", error)) return false;
  const Clock::time_point start = Clock::now();
  const UnpackResult unpacked = unpackPack(packPath.c_str(), folder.path().c_str());
  ms = msBetween(start, Clock::now());
  folder.remove();
  if (!unpacked.ok) error = "cannot unpack " + packPath + ": " + unpacked.error;
  return unpacked.ok;
}

double peakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace

bool measureRun(const std::string& packPath, uint32_t toMs, BenchResult& result,
                std::string& error) {
  const std::string pack = headless::absolutePath(packPath);
  if (!timeUnpack(pack, result.unpackMs, error)) return false;

  stepClock = StepClock{};
  setLoadStepObserver(observeStep);
  const Clock::time_point start = Clock::now();
  headless::Runner runner;
  const bool opened = runner.open(pack, error);
  setLoadStepObserver(nullptr);
  if (!opened) return false;
  result.loadMs = stepClock.seen ? msBetween(stepClock.firstBegin, stepClock.lastEnd) : 0.0;
  result.beforeLoadMs = stepClock.seen ? msBetween(start, stepClock.firstBegin) : 0.0;
  for (int g = 0; g < 9; ++g) result.groupMs[g] = stepClock.ms[g];

  const std::vector<uint32_t> times = benchSchedule(toMs);
  std::vector<double> sceneFrames[7];
  for (size_t i = 0; i < times.size(); ++i) {
    const Clock::time_point before = Clock::now();
    runner.frame(times[i]);
    // llvmpipe renders behind the calls; a frame is done only when GL says so.
    glFinish();
    const Clock::time_point after = Clock::now();
    if (runner.interrupted()) {
      error = "interrupted";
      return false;
    }
    if (i == 0) {
      result.totalMs = msBetween(start, after);
      result.firstFrameMs = msBetween(before, after);
    }
    sceneFrames[sceneIndexAt(times[i])].push_back(msBetween(before, after));
  }
  for (int s = 0; s < 7; ++s) result.scenes[s] = frameStats(std::move(sceneFrames[s]));
  result.peakRssMb = peakResidentMb();
  runner.close();
  return true;
}

}  // namespace bench
