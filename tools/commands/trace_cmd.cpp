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
#include "tools/common/command_line.h"
#include "tools/headless/run_options.h"
#include "tools/headless/runner.h"
#include "tools/headless/schedule.h"
#include "tools/headless/tool_paths.h"

namespace {

struct TraceOptions {
  std::string pack;
  uint32_t fps = 60;
  bool fpsGiven = false;
  std::string deltasFile;
  uint32_t toMs = headless::kDefaultLastFrameMs;
  uint32_t startMs = 0;
};

int fail(const std::string& message) {
  return cli::fail("trace", message);
}

cli::CommandLine commandLine(const Command& self, TraceOptions& o) {
  using namespace cli;
  return CommandLine{
      self.name,
      self.summary,
      {},
      "Each line is one JSON object with the state after the frame: frame, nowMs, deltaMs,\n"
      "scene (1-6 or \"end\"), flash (alpha), fired, strips, stripOffset, particles, emitter\n"
      "[x,y,z], head [x,y,z] of vertex 1084 and headNeighbour [x,y,z] of the first vertex on its\n"
      "neighbour list (or null), value (the scene's accumulated angle or depth; null in the end\n"
      "scene).\n",
      {headless::packOption(o.pack), headless::fpsOption(o.fps, &o.fpsGiven),
       textOption("--deltas", "FILE",
                  "one whole-millisecond frame delta per line, instead of --fps; frame i is\n"
                  "at the sum of the first i+1 deltas",
                  o.deltasFile),
       headless::lastFrameOption(o.toMs),
       numberOption("--start-ms", "MS",
                    "shifts the frame times that --to chose by MS, modulo 2^32, as if the timer\n"
                    "had run that long first: near 4294967295 its 32-bit milliseconds wrap\n"
                    "during the run",
                    o.startMs, 0, UINT32_MAX)}};
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

int runTraceCommand(const Command& self, int argc, char** argv) {
  TraceOptions o;
  std::vector<std::string> arguments;
  const int status = cli::parse(argc, argv, commandLine(self, o), arguments);
  if (status >= 0) return status;
  if (o.fpsGiven && !o.deltasFile.empty()) return fail("--fps and --deltas exclude each other");
  std::string error;
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
