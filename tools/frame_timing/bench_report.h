// The figures of demotool bench: per-scene frame statistics, the start-up split, the best of
// several runs, and their JSON object and printed table.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace bench {

// The loadAssets steps as the catalogue names them, and the scenes as the JSON names them.
extern const char* const kGroupNames[9];
extern const char* const kSceneNames[7];

// The bench's frames: 0, 16, 33, 49, 66, ... (16 and 17 ms alternately, 60 Hz), up to toMs.
std::vector<uint32_t> benchSchedule(uint32_t toMs);

struct FrameStats {
  size_t frames = 0;
  double medianMs = 0.0;  // the middle value, or the mean of the middle two
  double p99Ms = 0.0;     // nearest rank: the smallest value at or above 99% of the frames
  double worstMs = 0.0;
};

FrameStats frameStats(std::vector<double> frameMs);

struct BenchResult {
  double unpackMs = 0.0;
  double loadMs = 0.0;        // loadAssets, first step's start to last step's end
  double totalMs = 0.0;       // start-up through the first finished frame, no settling pause
  double beforeLoadMs = 0.0;  // unpack, window, context and loading picture, up to loadAssets
  double firstFrameMs = 0.0;  // the first frame alone: GL compiles its first shaders there
  double groupMs[9] = {};
  FrameStats scenes[7];
  double peakRssMb = 0.0;
};

// Per figure, the lowest over the runs (frame counts are the same in every run). `runs` is not
// empty.
BenchResult keepBest(const std::vector<BenchResult>& runs);

nlohmann::ordered_json toJson(const BenchResult& result);
// The reverse of toJson; false with `error` naming the first missing or non-numeric field.
bool fromJson(const nlohmann::json& json, BenchResult& result, std::string& error);

// The table printed without --json, with each figure against its target on this machine.
std::string formatTable(const BenchResult& result, int runs);

}  // namespace bench
