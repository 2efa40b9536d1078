// demotool trace: the presentation run headless at exact frame times, one JSON object per frame on
// stdout with the timeline's and the effects' state after the frame.
#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/timeline.h"
#include "fx/program_objects.h"
#include "fx/scenes.h"
#include "fx/view.h"
#include "tools/commands.h"
#include "tools/headless/options.h"
#include "tools/headless/runner.h"
#include "tools/headless/schedule.h"
#include "tools/headless/tool_paths.h"

namespace {

const char* const kUsage =
    "usage: demotool trace [--data FILE] [--fps N | --deltas FILE] [--to MS] [--start-ms MS]\n"
    "\n"
    "Runs the presentation headless and prints one JSON object per frame:\n"
    "  frame, nowMs, deltaMs, scene (1-6 or \"end\"), flash (alpha after the frame), fired,\n"
    "  strips, stripOffset, particles, emitter [x,y,z], head [x,y,z] of vertex 1084 (or null),\n"
    "  headNeighbour [x,y,z] of the first vertex on 1084's neighbour list (or null),\n"
    "  value (the scene's accumulated angle or depth; null in the end scene).\n"
    "  --data FILE    the asset pack (default: run/data.dat beside demotool)\n"
    "  --fps N        frames per second, 1 to 1000 (default 60); frame i is at i*1000/N ms\n"
    "  --deltas FILE  one whole-millisecond frame delta per line; frame i is at the sum of the\n"
    "                 first i+1 deltas\n"
    "  --to MS        last frame time, included (default 17000)\n"
    "  --start-ms MS  shifts the frame times that --to chose by MS, modulo 2^32, as if the timer\n"
    "                 had run that long first: near 4294967295 its 32-bit milliseconds wrap\n"
    "                 during the run (default 0)\n";

struct TraceOptions {
  std::string pack;
  uint32_t fps = 60;
  bool fpsGiven = false;
  std::string deltasFile;
  uint32_t toMs = 17000;
  uint32_t startMs = 0;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "demotool trace: %s\n", message.c_str());
  return 1;
}

// 0 to go on, 1 after an error, 2 after --help.
int parseOptions(int argc, char** argv, TraceOptions& o, std::string& error) {
  using namespace headless;
  const int parsed =
      headless::parseOptions(argc, argv,
                             {textOption("--data", o.pack), textOption("--deltas", o.deltasFile),
                              numberOption("--fps", o.fps, 1, 1000, &o.fpsGiven),
                              numberOption("--to", o.toMs, 0, UINT32_MAX),
                              numberOption("--start-ms", o.startMs, 0, UINT32_MAX)},
                             error);
  if (parsed != 0) return parsed;
  if (o.fpsGiven && !o.deltasFile.empty()) {
    error = "--fps and --deltas exclude each other";
    return 1;
  }
  return 0;
}

bool frameTimes(const TraceOptions& o, std::vector<uint32_t>& times, std::string& error) {
  if (o.deltasFile.empty()) {
    times = headless::scheduleAtRate(o.fps, o.toMs);
    return true;
  }
  std::FILE* f = std::fopen(o.deltasFile.c_str(), "rb");
  if (!f) {
    error = "cannot read " + o.deltasFile;
    return false;
  }
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  std::vector<uint32_t> deltas;
  if (!headless::parseDeltas(text, deltas, error)) {
    error = o.deltasFile + ": " + error;
    return false;
  }
  times = headless::scheduleFromDeltas(deltas, o.toMs);
  return true;
}

nlohmann::json vec3(const Vec3& v) {
  return nlohmann::json::array({v.x, v.y, v.z});
}

// The accumulated value of the scene that drew this frame.
nlohmann::json sceneValue(int scene) {
  const float* values[6] = {&scene1Angle, &scene2Angle, &scene3Angle,
                            &scene4Angle, &scene5Angle, &scene6Depth};
  if (scene < 0 || scene >= 6) return nullptr;
  return *values[scene];
}

nlohmann::ordered_json frameRecord(size_t frame) {
  const int scene = sceneIndexAt(timeline.nowMs);
  nlohmann::ordered_json j;
  j["frame"] = frame;
  j["nowMs"] = timeline.nowMs;
  j["deltaMs"] = timeline.deltaMs;
  j["scene"] = scene < 6 ? nlohmann::ordered_json(scene + 1) : nlohmann::ordered_json("end");
  j["flash"] = flash.alpha;
  j["fired"] = timeline.firedCount();
  j["strips"] = stripsEnabled != 0;
  j["stripOffset"] = stripOffset;
  j["particles"] = particles.count;
  j["emitter"] = vec3(particles.position);
  j["head"] = nullptr;
  j["headNeighbour"] = nullptr;
  const size_t vertexTotal = std::min<size_t>(headMesh.vertexCount, headMesh.vertices.size());
  if (vertexTotal > kHeadDragVertex) {
    const HeadVertex& dragged = headMesh.vertices[kHeadDragVertex];
    j["head"] = vec3(dragged.position);
    // The drag reaches the rest of the mesh through this list; a frame of delta 0 still moves it.
    if (dragged.neighbours && dragged.neighbours->index < vertexTotal)
      j["headNeighbour"] = vec3(headMesh.vertices[dragged.neighbours->index].position);
  }
  j["value"] = sceneValue(scene);
  return j;
}

}  // namespace

int runTraceCommand(int argc, char** argv) {
  TraceOptions o;
  std::string error;
  const int status =
      headless::parsedStatus(parseOptions(argc, argv, o, error), "trace", kUsage, error);
  if (status >= 0) return status;
  if (o.pack.empty()) o.pack = headless::defaultPackPath();
  std::vector<uint32_t> times;
  if (!frameTimes(o, times, error)) return fail(error);
  // The timer keeps only the low 32 bits, so a time past 2^32 is the same reading as its wrapped
  // value, and the frame's delta still comes out right.
  for (uint32_t& t : times) t += o.startMs;

  headless::Runner runner;
  if (!runner.open(o.pack, error)) return fail(error);
  for (size_t i = 0; i < times.size(); ++i) {
    runner.frame(times[i]);
    if (runner.interrupted()) return fail("interrupted");
    const std::string line = frameRecord(i).dump() + "\n";
    if (std::fputs(line.c_str(), stdout) < 0) return fail("cannot write to stdout");
  }
  runner.close();
  if (std::fflush(stdout) != 0) return fail("cannot write to stdout");
  return 0;
}
