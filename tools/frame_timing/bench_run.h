// One measured run of the presentation in this process: the pack's unpack timed on its own, the
// real headless start-up timed step by step, then every frame of the timeline, each finished
// before its time is taken. The presentation's objects are process-wide, so a process runs once.
#pragma once

#include <cstdint>
#include <string>

#include "tools/frame_timing/bench_report.h"

namespace bench {

// Last frame time of a full run: through the end scene, which starts after 16000 ms.
constexpr uint32_t kRunEndMs = 17500;

// Frames from 0 to `toMs` included. False with a one-line `error` when the pack cannot be
// unpacked or no GL context can be made.
bool measureRun(const std::string& packPath, uint32_t toMs, BenchResult& result,
                std::string& error);

}  // namespace bench
