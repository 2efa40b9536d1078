// Statistics, best-of-runs and the two outputs of demotool bench.
#include "tools/frame_timing/bench_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/headless/schedule.h"

namespace bench {

const char* const kGroupNames[9] = {"light", "head", "slots", "particles", "c00",
                                    "c01",   "c02",  "c05",   "skin"};
const char* const kSceneNames[7] = {"1", "2", "3", "4", "5", "6", "end"};

namespace {

// Targets on the 2-core llvmpipe machine the presentation is tuned for.
constexpr double kMedianTargetMs = 4.0;
constexpr double kP99TargetMs = 11.7;
constexpr double kStartupTargetMs = 300.0;

// Microsecond resolution is all a millisecond figure needs, and keeps the JSON readable.
double rounded(double ms) {
  return std::round(ms * 1000.0) / 1000.0;
}

const char* verdict(double value, double target) {
  return value <= target ? "ok" : "OVER";
}

bool readNumber(const nlohmann::json& parent, const char* key, double& out, std::string& error) {
  const auto it = parent.find(key);
  if (it == parent.end() || !it->is_number()) {
    error = std::string("missing number '") + key + "'";
    return false;
  }
  out = it->get<double>();
  return true;
}

bool readObject(const nlohmann::json& parent, const char* key, const nlohmann::json*& out,
                std::string& error) {
  const auto it = parent.find(key);
  if (it == parent.end() || !it->is_object()) {
    error = std::string("missing object '") + key + "'";
    return false;
  }
  out = &*it;
  return true;
}

}  // namespace

std::vector<uint32_t> benchSchedule(uint32_t toMs) {
  // The first delta is 0: the first frame is drawn at time zero.
  std::vector<uint32_t> deltas{0};
  for (uint64_t t = 0; t <= toMs;) {
    const uint32_t step = deltas.size() % 2 == 1 ? 16 : 17;
    deltas.push_back(step);
    t += step;
  }
  return headless::scheduleFromDeltas(deltas, toMs);
}

FrameStats frameStats(std::vector<double> frameMs) {
  FrameStats s;
  s.frames = frameMs.size();
  if (frameMs.empty()) return s;
  std::sort(frameMs.begin(), frameMs.end());
  const size_t n = frameMs.size();
  s.medianMs = n % 2 ? frameMs[n / 2] : (frameMs[n / 2 - 1] + frameMs[n / 2]) / 2.0;
  const size_t rank = size_t(std::ceil(0.99 * double(n)));
  s.p99Ms = frameMs[std::max<size_t>(rank, 1) - 1];
  s.worstMs = frameMs.back();
  return s;
}

BenchResult keepBest(const std::vector<BenchResult>& runs) {
  BenchResult best = runs.front();
  for (const BenchResult& r : runs) {
    best.unpackMs = std::min(best.unpackMs, r.unpackMs);
    best.loadMs = std::min(best.loadMs, r.loadMs);
    best.totalMs = std::min(best.totalMs, r.totalMs);
    best.firstFrameMs = std::min(best.firstFrameMs, r.firstFrameMs);
    best.beforeLoadMs = std::min(best.beforeLoadMs, r.beforeLoadMs);
    for (int g = 0; g < 9; ++g) best.groupMs[g] = std::min(best.groupMs[g], r.groupMs[g]);
    for (int s = 0; s < 7; ++s) {
      best.scenes[s].medianMs = std::min(best.scenes[s].medianMs, r.scenes[s].medianMs);
      best.scenes[s].p99Ms = std::min(best.scenes[s].p99Ms, r.scenes[s].p99Ms);
      best.scenes[s].worstMs = std::min(best.scenes[s].worstMs, r.scenes[s].worstMs);
    }
    best.peakRssMb = std::min(best.peakRssMb, r.peakRssMb);
  }
  return best;
}

nlohmann::ordered_json toJson(const BenchResult& r) {
  nlohmann::ordered_json groups;
  for (int g = 0; g < 9; ++g) groups[kGroupNames[g]] = rounded(r.groupMs[g]);
  nlohmann::ordered_json scenes;
  for (int s = 0; s < 7; ++s) {
    const FrameStats& f = r.scenes[s];
    scenes[kSceneNames[s]] = {{"frames", f.frames},
                              {"medianMs", rounded(f.medianMs)},
                              {"p99Ms", rounded(f.p99Ms)},
                              {"worstMs", rounded(f.worstMs)}};
  }
  nlohmann::ordered_json j;
  j["startup"] = {
      {"unpackMs", rounded(r.unpackMs)},         {"loadMs", rounded(r.loadMs)},
      {"totalMs", rounded(r.totalMs)},           {"beforeLoadMs", rounded(r.beforeLoadMs)},
      {"firstFrameMs", rounded(r.firstFrameMs)}, {"groups", groups}};
  j["scenes"] = scenes;
  j["peakRssMb"] = std::round(r.peakRssMb * 10.0) / 10.0;
  return j;
}

bool fromJson(const nlohmann::json& j, BenchResult& r, std::string& error) {
  const nlohmann::json *startup = nullptr, *groups = nullptr, *scenes = nullptr;
  if (!j.is_object() || !readObject(j, "startup", startup, error) ||
      !readObject(*startup, "groups", groups, error) || !readObject(j, "scenes", scenes, error))
    return error.empty() ? (error = "not a JSON object", false) : false;
  if (!readNumber(*startup, "unpackMs", r.unpackMs, error) ||
      !readNumber(*startup, "loadMs", r.loadMs, error) ||
      !readNumber(*startup, "totalMs", r.totalMs, error) ||
      !readNumber(*startup, "firstFrameMs", r.firstFrameMs, error) ||
      !readNumber(*startup, "beforeLoadMs", r.beforeLoadMs, error) ||
      !readNumber(j, "peakRssMb", r.peakRssMb, error))
    return false;
  for (int g = 0; g < 9; ++g)
    if (!readNumber(*groups, kGroupNames[g], r.groupMs[g], error)) return false;
  for (int s = 0; s < 7; ++s) {
    const nlohmann::json* scene = nullptr;
    double frames = 0.0;
    FrameStats& f = r.scenes[s];
    if (!readObject(*scenes, kSceneNames[s], scene, error) ||
        !readNumber(*scene, "frames", frames, error) ||
        !readNumber(*scene, "medianMs", f.medianMs, error) ||
        !readNumber(*scene, "p99Ms", f.p99Ms, error) ||
        !readNumber(*scene, "worstMs", f.worstMs, error))
      return false;
    f.frames = size_t(frames);
  }
  return true;
}

std::string formatTable(const BenchResult& r, int runs) {
  std::string out;
  char line[160];
  const char* kept = runs > 1 ? "best of each figure over the runs" : "one run";
  std::snprintf(line, sizeof line, "start-up, ms (%d run%s, %s)\n", runs, runs > 1 ? "s" : "",
                kept);
  out += line;
  std::snprintf(line, sizeof line, "  %-28s %9.2f\n", "unpack", r.unpackMs);
  out += line;
  std::snprintf(line, sizeof line, "  %-28s %9.2f\n", "open, up to loadAssets", r.beforeLoadMs);
  out += line;
  std::snprintf(line, sizeof line, "  %-28s %9.2f\n", "loadAssets", r.loadMs);
  out += line;
  for (int g = 0; g < 9; ++g) {
    std::snprintf(line, sizeof line, "    %-26s %9.2f\n", kGroupNames[g], r.groupMs[g]);
    out += line;
  }
  std::snprintf(line, sizeof line, "  %-28s %9.2f\n", "first frame", r.firstFrameMs);
  out += line;
  std::snprintf(line, sizeof line, "  %-28s %9.2f   target <= %.0f: %s\n",
                "total to the first frame", r.totalMs, kStartupTargetMs,
                verdict(r.totalMs, kStartupTargetMs));
  out += line;
  out += "\nframes, ms     frames   median      p99    worst   median <= 4, p99 <= 11.7\n";
  for (int s = 0; s < 7; ++s) {
    const FrameStats& f = r.scenes[s];
    std::snprintf(line, sizeof line, "  scene %-6s %7zu %8.3f %8.3f %8.3f   %s, %s\n",
                  kSceneNames[s], f.frames, f.medianMs, f.p99Ms, f.worstMs,
                  verdict(f.medianMs, kMedianTargetMs), verdict(f.p99Ms, kP99TargetMs));
    out += line;
  }
  std::snprintf(line, sizeof line, "\npeak resident memory: %.1f MB\n", r.peakRssMb);
  out += line;
  return out;
}

}  // namespace bench
