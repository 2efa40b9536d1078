// Each scene's frame called as the timeline calls it (16 ms delta, then the flash overlay), and
// the parts of scene 1's frame, each finished by GL, on the assets the catalogue loads. These
// find where a frame's time goes; demotool bench gives the frame times of the real run.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/entry.h"
#include "app/timeline.h"
#include "app/window.h"
#include "assets/catalogue.h"
#include "bench_inputs.h"
#include "bench_suites.h"
#include "fx/program_objects.h"
#include "fx/scenes.h"
#include "fx/view.h"
#include "gfx/gl.h"

namespace {

// The fixed state of the program's start-up, then the catalogue, once.
bool loadPresentation() {
  static const bool loaded = [] {
    if (!benchInputs().gl) return false;
    resizeView(800, 600);
    setFixedRenderState();
    loadAssets();
    return true;
  }();
  return loaded;
}

constexpr uint32_t kSceneTimes[7] = {2000, 6000, 11000, 12200, 13500, 15000, 17000};
const char* const kSceneLabels[7] = {"1", "2", "3", "4", "5", "6", "end"};

// The values a frame moves on: put back before every pass, so that each pass draws the same
// picture (scene 6 would otherwise fly out of its set, and the head would sink ever deeper).
struct MovingState {
  float values[6];
  std::vector<Vec3> head;

  void save() {
    const float* from[6] = {&scene1Angle, &scene2Angle, &scene3Angle,
                            &scene4Angle, &scene5Angle, &scene6Depth};
    for (int i = 0; i < 6; ++i) values[i] = *from[i];
    head.clear();
    for (const HeadVertex& v : headMesh.vertices) head.push_back(v.position);
  }
  void restore() const {
    float* to[6] = {&scene1Angle, &scene2Angle, &scene3Angle,
                    &scene4Angle, &scene5Angle, &scene6Depth};
    for (int i = 0; i < 6; ++i) *to[i] = values[i];
    for (size_t i = 0; i < head.size(); ++i) headMesh.vertices[i].position = head[i];
  }
};

void sceneFrame(benchmark::State& state, int scene) {
  if (!loadPresentation()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  MovingState start;
  start.save();
  for (auto _ : state) {
    state.PauseTiming();
    start.restore();
    state.ResumeTiming();
    presentationScenes.scenes[scene](kSceneTimes[scene], 16);
    flash.draw(0.08f);
    glFinish();
  }
  start.restore();
}

// Scene 1's model view and blocks, one part per benchmark.
void sceneOneView() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, -0.1f, -2.5f);
  glScalef(0.1f, 0.1f, 0.1f);
  glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
}

enum class Part { Background, Set, Head, Overlay, Flash };

void drawPart(Part part) {
  switch (part) {
    case Part::Background:
      scenePrologue();
      break;
    case Part::Set:
      glClear(GL_DEPTH_BUFFER_BIT);
      sceneOneView();
      particleBlockState();
      modelBlockBegin();
      glDisable(GL_BLEND);
      sceneC00.draw();
      break;
    case Part::Head:
      // The head sinks a little with every pass; over a benchmark's passes that changes little.
      glClear(GL_DEPTH_BUFFER_BIT);
      sceneOneView();
      modelBlockBegin();
      headBlock(16);
      break;
    case Part::Overlay:
      glDisable(GL_LIGHTING);
      glDisable(GL_DEPTH_TEST);
      glEnable(GL_TEXTURE_2D);
      drawFrameOverlay(16);
      break;
    case Part::Flash:
      flash.draw(0.0f);
      break;
  }
}

void scenePart(benchmark::State& state, Part part) {
  if (!loadPresentation()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  for (auto _ : state) {
    drawPart(part);
    glFinish();
  }
}

}  // namespace

void registerFrameBenchmarks() {
  for (int s = 0; s < 7; ++s)
    benchmark::RegisterBenchmark(("frame/scene " + std::string(kSceneLabels[s])).c_str(),
                                 sceneFrame, s)
        ->Unit(benchmark::kMillisecond);
  const std::pair<const char*, Part> parts[] = {{"background", Part::Background},
                                                {"set c00", Part::Set},
                                                {"head (poke and two passes)", Part::Head},
                                                {"overlay", Part::Overlay},
                                                {"flash", Part::Flash}};
  for (const auto& [name, part] : parts)
    benchmark::RegisterBenchmark(("frame part/scene 1 " + std::string(name)).c_str(), scenePart,
                                 part)
        ->Unit(benchmark::kMillisecond);
}
