// The red glow's emitter as the catalogue configures it: one update at its steady 600 particles,
// and one draw of them in scene 3's view, as submitted and as finished by GL.
#include <benchmark/benchmark.h>

#include "assets/catalogue.h"
#include "bench_inputs.h"
#include "bench_suites.h"
#include "fx/particles.h"
#include "fx/view.h"
#include "gfx/gl.h"

namespace {

// The catalogue's settings, then enough updates for the oldest to have been replaced.
void configure(ParticleSystem& system) {
  configureParticles(system);
  for (int i = 0; i < 1000; ++i) system.update();
}

void update(benchmark::State& state) {
  ParticleSystem system;
  configure(system);
  for (auto _ : state) system.update();
  state.counters["particles"] = double(system.count);
}

void sceneThreeView() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.1f, -2.5f);
  glScalef(0.15f, 0.15f, 0.15f);
  glRotatef(50.0f, 1.0f, 0.0f, 0.0f);
  particleBlockState();
}

void draw(benchmark::State& state, bool finish) {
  if (!benchInputs().gl) {
    state.SkipWithError("no headless GL context");
    return;
  }
  ParticleSystem system;
  configure(system);
  setPerspectiveView();
  sceneThreeView();
  for (auto _ : state) {
    system.draw();
    if (finish) glFinish();
  }
  glFinish();
  state.counters["particles"] = double(system.count);
}

}  // namespace

void registerParticleBenchmarks() {
  benchmark::RegisterBenchmark("particles/update", update)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("particles/draw submitted", draw, false)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("particles/draw finished", draw, true)
      ->Unit(benchmark::kMicrosecond);
}
