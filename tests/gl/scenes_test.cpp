// The six scenes and the end scene drawn headless after loadAssets: what reaches the letterbox and
// what stays black, how each scene's model meets the background, the state scene 4 switches on, and
// the end picture under its flash.
#include "fx/scenes.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/frame_timer.h"
#include "app/timeline.h"
#include "assets/catalogue.h"
#include "fx/program_objects.h"
#include "fx/view.h"
#include "gfx/gl.h"
#include "support/catalogue_files.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"

namespace {

using SceneFn = void (*)(uint32_t, uint32_t);
const SceneFn kScenes[6] = {drawScene1, drawScene2, drawScene3, drawScene4, drawScene5, drawScene6};
float* const kAccumulators[6] = {&scene1Angle, &scene2Angle, &scene3Angle,
                                 &scene4Angle, &scene5Angle, &scene6Depth};
const double kDivisors[6] = {120.0, 120.0, 120.0, 120.0, 120.0, 600.0};

// The age of the list's last particle, which is never culled: it grows by one with every update.
uint32_t oldestParticleAge() {
  const ParticleNode* node = particles.particleList;
  while (node && node->next) node = node->next;
  return node ? node->particle.age : 0;
}

class Scenes : public ::testing::Test {
 protected:
  void load(const CatalogueFileSet& set = {}) {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    writeCatalogueFiles(dir.path(), set);
    dir.enter();
    // The fixed state that start-up sets before the catalogue runs.
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    loadAssets();
  }
  void TearDown() override {
    if (gl.ok()) unloadCatalogue();
  }

  // Every window row outside the letterbox (rows 0-49 and 550-599) is still black.
  void expectBandsBlack(const char* what) {
    for (int x : {0, 400, 799})
      for (int y : {0, 25, 49, 550, 575, 599}) {
        const auto p = gl.pixel(x, y);
        EXPECT_EQ(p.r + p.g + p.b, 0) << what << " at " << x << "," << y;
      }
  }

  // Repaints the background's full-size level (the only one its linear filter samples) in one
  // grey, which is quicker than loading another 800 x 600 picture.
  void paintBackground(uint8_t grey) {
    glBindTexture(GL_TEXTURE_2D, back01Texture.textureName);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    const std::vector<uint8_t> texels(size_t(w) * size_t(h) * 3, grey);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  }

  GlTestContext gl;
  TempDir dir;
};

}  // namespace

TEST_F(Scenes, EachSceneDrawsTheBackgroundInsideTheLetterboxOnly) {
  load();  // back01 is (r 0, g 200, b 40); the 3DS sets are absent
  for (int i = 0; i < 6; ++i) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    kScenes[i](0, 16);
    const auto centre = gl.pixel(400, 300);
    // The particles only add red, so green and blue are the background's.
    EXPECT_NEAR(centre.g, 200, 2) << "scene " << i + 1;
    EXPECT_NEAR(centre.b, 40, 2) << "scene " << i + 1;
    expectBandsBlack("scene");
    // Scene 1 shows no particles; scene 2's first update fills the whole population at once.
    if (i == 0) {
      EXPECT_EQ(particles.count, 0u);
    }
    if (i == 1) {
      EXPECT_EQ(particles.count, 600u);
    }
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Scenes, TheModelCoversTheBackgroundOrIsAddedOntoItAsEachSceneSays) {
  CatalogueFileSet set;
  set.cubeScenes = true;  // the eye sits inside each set, which fills the whole picture
  load(set);
  // Scenes 4 and 6 keep blending on for the model; the others draw it opaque. Each scene is drawn
  // twice with delta 0 (the same camera), over a black and over a grey background.
  const bool added[6] = {false, false, false, true, false, true};
  for (int i = 0; i < 6; ++i) {
    paintBackground(0);
    kScenes[i](0, 0);
    const auto overBlack = gl.pixel(400, 300);
    paintBackground(80);
    kScenes[i](0, 0);
    const auto overGrey = gl.pixel(400, 300);
    // The particles add only red; green and blue show what the background contributes.
    for (int channel = 1; channel < 3; ++channel) {
      const int black = channel == 1 ? overBlack.g : overBlack.b;
      const int grey = channel == 1 ? overGrey.g : overGrey.b;
      if (added[i])
        EXPECT_GT(grey - black, 20) << "scene " << i + 1 << " channel " << channel;
      else
        EXPECT_NEAR(grey, black, 2) << "scene " << i + 1 << " channel " << channel;
    }
    expectBandsBlack("scene");
  }
}

TEST_F(Scenes, SceneFourTurnsTheStripsOnAndMovesTheEmitterForGood) {
  load();
  stripsEnabled = 0;
  stripOffset = 0;
  drawScene3(0, 16);
  EXPECT_EQ(stripsEnabled, 0);
  EXPECT_EQ(stripOffset, 0) << "no strips before scene 4";
  EXPECT_EQ(particles.position.z, 0.0f);

  drawScene4(0, 16);
  EXPECT_EQ(stripsEnabled, 1);
  EXPECT_EQ(stripOffset, 3) << "the strips advance by delta / 5 in the same frame";
  EXPECT_EQ(particles.position.x, 0.0f);
  EXPECT_EQ(particles.position.y, -10.0f);
  EXPECT_EQ(particles.position.z, 10.0f);

  // Set again on every frame of scene 4; left alone by the later scenes.
  stripsEnabled = 0;
  particles.setPosition(1.0f, 2.0f, 3.0f);
  drawScene4(0, 16);
  EXPECT_EQ(stripsEnabled, 1);
  EXPECT_EQ(particles.position.z, 10.0f);
  drawScene5(0, 16);
  drawScene6(0, 16);
  EXPECT_EQ(stripsEnabled, 1);
  EXPECT_EQ(particles.position.y, -10.0f);
  EXPECT_EQ(particles.position.z, 10.0f);
  EXPECT_EQ(stripOffset, 12);
}

TEST_F(Scenes, OnlyTheFrameDeltaMovesEachScenesValue) {
  load();
  particles.update();  // a first particle, whose age counts the updates from here on
  for (int i = 0; i < 6; ++i) {
    float before[6];
    for (int k = 0; k < 6; ++k) before[k] = *kAccumulators[k];
    const uint32_t age = oldestParticleAge();
    kScenes[i](123456, 0);
    for (int k = 0; k < 6; ++k)
      EXPECT_EQ(*kAccumulators[k], before[k]) << "delta 0 in scene " << i + 1 << ", value " << k;
    // Scenes 2 to 6 step the particles once per drawn frame, even when no time has passed.
    EXPECT_EQ(oldestParticleAge(), age + (i > 0 ? 1 : 0)) << "delta 0 in scene " << i + 1;

    kScenes[i](0, 16);
    for (int k = 0; k < 6; ++k) {
      const float expected = k == i ? accumulate(before[k], 16, kDivisors[k]) : before[k];
      EXPECT_EQ(*kAccumulators[k], expected) << "delta 16 in scene " << i + 1 << ", value " << k;
    }
  }
}

// Scene 4 is drawn only by a frame inside its window: a frame from scene 3 straight into scene 5
// leaves the strips off and the emitter where it was.
TEST_F(Scenes, AFrameThatJumpsOverSceneFourLeavesItsStateAlone) {
  load();
  struct SteppedCounter : platform::Counter {
    int64_t frequency() override { return 1000; }
    int64_t now() override { return ms; }
    int64_t ms = 0;
  } counter;
  FrameTimer timer{&counter};
  timer.start();
  Timeline jumping;
  stripsEnabled = 0;
  stripOffset = 0;
  particles.setPosition(1.0f, 2.0f, 3.0f);
  for (int64_t ms : {11990, 12000, 12400}) {
    counter.ms = ms;
    jumping.frame(timer, flash, presentationScenes);
  }
  EXPECT_EQ(stripsEnabled, 0);
  EXPECT_EQ(stripOffset, 0);
  EXPECT_EQ(particles.position.x, 1.0f);
  EXPECT_EQ(particles.position.y, 2.0f);
  EXPECT_EQ(particles.position.z, 3.0f);
}

TEST_F(Scenes, TheEndSceneShowsItsPictureOnBlackAfterOneFlash) {
  load();
  // An earlier picture in red everywhere, and the state the timeline's flash leaves.
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  flash.alpha = 0.0f;
  flash.draw(0.0f);
  endSceneStarted = 0;

  drawEndScene(16001, 16);
  EXPECT_EQ(endSceneStarted, 1);
  const float afterScene = 1.0f - 16.0f / 800.0f;
  EXPECT_EQ(flash.alpha, afterScene);
  flash.draw(16.0f / 200.0f);  // the timeline's own flash draw
  EXPECT_EQ(flash.alpha, afterScene - 16.0f / 200.0f);
  const auto flashed = gl.pixel(400, 300);
  EXPECT_GE(flashed.r, 250);
  EXPECT_GE(flashed.b, 250);
  expectBandsBlack("first end frame");

  // A long frame: the scene's quad still shows 0.9 - 200 / 800, the timeline's takes it to 0.
  drawEndScene(16017, 200);
  EXPECT_EQ(flash.alpha, afterScene - 16.0f / 200.0f - 200.0f / 800.0f);
  flash.draw(200.0f / 200.0f);
  EXPECT_EQ(flash.alpha, 0.0f);

  // From then on the picture alone, and the flash does not fire again.
  for (int frame = 0; frame < 3; ++frame) {
    drawEndScene(17000 + frame * 16, 16);
    flash.draw(16.0f / 200.0f);
    EXPECT_EQ(flash.alpha, 0.0f);
    // s_end.tga sits at the letterbox's top left, 64 x 32 units: 64 x 26.7 window pixels.
    const auto picture = gl.pixel(16, 537);
    EXPECT_NEAR(picture.r, kEndPictureColour.r, 2);
    EXPECT_NEAR(picture.g, kEndPictureColour.g, 2);
    EXPECT_NEAR(picture.b, kEndPictureColour.b, 2);
    for (auto black : {gl.pixel(48, 537), gl.pixel(400, 300), gl.pixel(790, 60)})
      EXPECT_EQ(black.r + black.g + black.b, 0);
    expectBandsBlack("later end frame");
  }
  EXPECT_EQ(endSceneStarted, 1);
}
