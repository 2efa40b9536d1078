// One HeadMesh::poke at each second of scenes 1 and 2, on the mesh as deformed as the presentation
// has it then: every frame before that second poked as the head block does (16 and 17 ms frames,
// vertex 1084 dragged down by delta / 100), then the frame at that second timed alone, from the
// same starting mesh on every pass.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench_inputs.h"
#include "bench_suites.h"
#include "fx/view.h"
#include "gfx/head_mesh.h"
#include "tools/frame_timing/bench_report.h"

namespace {

constexpr uint32_t kLastHeadMs = 9050;  // scene 2's window ends here; scene 3 shows no head
constexpr int kSeconds = 10;            // 0 s to 9 s all lie in scenes 1 and 2

struct PokeAt {
  std::vector<Vec3> positions;  // the mesh just before the frame
  uint32_t delta = 0;           // that frame's delta
};

// One replay through both scenes, with the mesh kept at the first frame of each second.
const std::vector<PokeAt>& replay() {
  static std::vector<PokeAt> at;
  if (!at.empty()) return at;
  HeadMesh mesh;
  mesh.load(benchInputs().file("ex_glowa_new.3ds").c_str());
  const std::vector<uint32_t> times = bench::benchSchedule(kLastHeadMs);
  uint32_t previous = 0;
  for (const uint32_t t : times) {
    const uint32_t delta = t - previous;
    previous = t;
    if (t >= at.size() * 1000 && int(at.size()) < kSeconds) {
      PokeAt snapshot;
      for (const HeadVertex& v : mesh.vertices) snapshot.positions.push_back(v.position);
      snapshot.delta = delta;
      at.push_back(snapshot);
    }
    mesh.poke(kHeadDragVertex, Vec3(0.0f, -float(delta) / 100.0f, 0.0f));
  }
  return at;
}

void pokeAtSecond(benchmark::State& state, int second) {
  HeadMesh mesh;
  if (!mesh.load(benchInputs().file("ex_glowa_new.3ds").c_str()) ||
      replay().size() <= size_t(second)) {
    state.SkipWithError("no head to poke");
    return;
  }
  const PokeAt& start = replay()[size_t(second)];
  const Vec3 drag(0.0f, -float(start.delta) / 100.0f, 0.0f);
  for (auto _ : state) {
    for (size_t i = 0; i < mesh.vertices.size(); ++i)
      mesh.vertices[i].position = start.positions[i];
    const auto before = std::chrono::steady_clock::now();
    mesh.poke(kHeadDragVertex, drag);
    const auto after = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(after - before).count());
  }
}

}  // namespace

void registerPokeBenchmarks() {
  for (int s = 0; s < kSeconds; ++s)
    benchmark::RegisterBenchmark(("poke/at " + std::to_string(s) + " s").c_str(), pokeAtSecond, s)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}
