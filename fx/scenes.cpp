// Scenes 1 to 6 and the end scene. Each frame is the shared skeleton (prologue, camera, particle,
// model and head blocks, epilogue) with the scene's own constants; the per-scene values grow only
// by the frame delta, so a scene's motion depends on nothing but the summed deltas spent in it.
#include "fx/scenes.h"

#include "fx/program_objects.h"
#include "fx/view.h"
#include "gfx/gl.h"

float scene1Angle = 0.0f;
float scene2Angle = 0.0f;
float scene3Angle = 0.0f;
float scene4Angle = 0.0f;
float scene5Angle = 0.0f;
float scene6Depth = 0.0f;
int32_t endSceneStarted = 0;

float accumulate(float value, uint32_t delta, double divisor) {
  return float(double(value) + double(delta) / divisor);
}

namespace {

// Degrees per millisecond is 1/120 for every turning scene; scene 6 travels 1/600 unit per ms.
constexpr double kTurnDivisor = 120.0;
constexpr double kTravelDivisor = 600.0;

// Scenes 3 to 6 leave texturing off after the particles or the model; the overlay's first mask
// pass needs it on.
void texturedEpilogue(uint32_t delta) {
  glEnable(GL_TEXTURE_2D);
  sceneEpilogue(delta);
}

}  // namespace

void drawScene1(uint32_t, uint32_t delta) {
  scenePrologue();
  glTranslatef(0.0f, -0.1f, -2.5f);
  glScalef(0.1f, 0.1f, 0.1f);
  glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
  scene1Angle = accumulate(scene1Angle, delta, kTurnDivisor);
  glRotatef(scene1Angle, 0.0f, 1.0f, 0.0f);
  // Scene 1 shows no particles, but the set and the head are drawn from the same state.
  particleBlockState();
  modelBlockBegin();
  glDisable(GL_BLEND);
  sceneC00.draw();
  headBlock(delta);
  // Texturing is still on from the head block.
  sceneEpilogue(delta);
}

void drawScene2(uint32_t, uint32_t delta) {
  scenePrologue();
  glTranslatef(0.1f, 0.0f, -2.5f);
  glScalef(0.1f, 0.1f, 0.1f);
  glRotatef(20.0f, 0.0f, 1.0f, 0.0f);
  scene2Angle = accumulate(scene2Angle, delta, kTurnDivisor);
  glRotatef(-scene2Angle, 0.0f, 1.0f, 0.0f);
  particleBlock();
  modelBlockBegin();
  glDisable(GL_BLEND);
  sceneC01.draw();
  headBlock(delta);
  sceneEpilogue(delta);
}

void drawScene3(uint32_t, uint32_t delta) {
  scenePrologue();
  glTranslatef(0.0f, 0.1f, -2.5f);
  glScalef(0.15f, 0.15f, 0.15f);
  glRotatef(50.0f, 1.0f, 0.0f, 0.0f);
  scene3Angle = accumulate(scene3Angle, delta, kTurnDivisor);
  glRotatef(scene3Angle, 0.0f, 1.0f, 0.0f);
  particleBlock();
  modelBlockBegin();
  glDisable(GL_BLEND);
  sceneC02.draw();
  texturedEpilogue(delta);
}

// The prologue is written out here: the emitter moves between the identity and the background.
void drawScene4(uint32_t, uint32_t delta) {
  stripsEnabled = 1;
  glClear(GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  particles.setPosition(0.0f, -10.0f, 10.0f);
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  back01Texture.draw(0, 0);

  glTranslatef(0.1f, 0.2f, -2.5f);
  glScalef(0.12f, 0.12f, 0.12f);
  glRotatef(-50.0f, 1.0f, 0.0f, 0.0f);
  scene4Angle = accumulate(scene4Angle, delta, kTurnDivisor);
  glRotatef(scene4Angle, 1.0f, 0.0f, 0.0f);
  particleBlock();
  // Blending stays on from the particles, so the set is added onto them.
  modelBlockBegin();
  glColor4f(1.0f, 1.0f, 1.0f, 0.8f);
  sceneC02.draw();
  texturedEpilogue(delta);
}

void drawScene5(uint32_t, uint32_t delta) {
  scenePrologue();
  glTranslatef(-0.1f, -0.2f, -2.5f);
  glScalef(0.2f, 0.2f, 0.2f);
  glRotatef(-30.0f, 1.0f, 0.0f, 1.0f);
  scene5Angle = accumulate(scene5Angle, delta, kTurnDivisor);
  glRotatef(scene5Angle, 0.0f, 0.0f, 1.0f);
  particleBlock();
  modelBlockBegin();
  glDisable(GL_BLEND);
  glColor4f(1.0f, 1.0f, 1.0f, 0.8f);
  sceneC02.draw();
  texturedEpilogue(delta);
}

void drawScene6(uint32_t, uint32_t delta) {
  scenePrologue();
  scene6Depth = accumulate(scene6Depth, delta, kTravelDivisor);
  const float z = float(-2.5 + double(scene6Depth));
  glTranslatef(0.0f, -0.6f, z);
  glScalef(0.15f, 0.15f, 0.15f);
  particleBlock();
  // Blending stays on from the particles and the colour is left as it is.
  modelBlockBegin();
  sceneC05.draw();
  texturedEpilogue(delta);
}

void initEndScene() {
  flash.trigger();
  glClear(GL_COLOR_BUFFER_BIT);
  setOrthoView();
}

// Texturing is off here (the previous frame's flash turned it off), so the mask pass of the end
// picture multiplies the fresh black by an untextured quad and only the picture pass shows.
void drawEndScene(uint32_t, uint32_t delta) {
  if (endSceneStarted == 0) {
    endSceneStarted = 1;
    initEndScene();
  }
  glClear(GL_COLOR_BUFFER_BIT);
  endTexture.draw(0, 0);
  flash.draw(float(delta) / 800.0f);
}
