// The elapsed time of every frame of a headless run: a steady rate, or recorded deltas replayed.
// Times are whole milliseconds, so the deltas the timeline sees are exact and sum to the time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

// Frame i at floor(i * 1000 / fps) ms, for every frame up to and including toMs. fps >= 1.
std::vector<uint32_t> scheduleAtRate(uint32_t fps, uint32_t toMs);

// Frame i at the sum of the first i + 1 deltas; ends after the last delta or at toMs.
std::vector<uint32_t> scheduleFromDeltas(const std::vector<uint32_t>& deltas, uint32_t toMs);

// One whole-millisecond delta per line; blank lines are skipped. False with a one-line `error`
// naming the line at the first bad one.
bool parseDeltas(const std::string& text, std::vector<uint32_t>& deltas, std::string& error);

}  // namespace headless
