// The two projections of the letterbox, the per-frame border and strip overlay, and the blocks that
// every scene frame is built from.
#include "fx/view.h"

#include "fx/program_objects.h"
#include "gfx/gl.h"
#include "gfx/picture_area.h"
#include "gfx/vec3.h"

int32_t stripsEnabled = 0;
uint16_t stripOffset = 0;

namespace {

void drawBorders() {
  leftTexture.draw(0, 0);
  rightTexture.draw(779, 0);
  topTexture.draw(234, 0);
  downTexture.draw(234, 557);
}

void drawStrips(uint16_t delta) {
  // The strips are added onto the picture.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_BLEND);
  stripOffset = advanceStripOffset(stripOffset, delta);
  for (int strip = 1; strip <= 6; ++strip) {
    const uint16_t x = strip <= 3 ? 20 : 711;
    stripTexture.draw(x, stripY(strip, stripOffset));
  }
}

}  // namespace

void setOrthoView() {
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  setPictureAreaOrtho();
}

void setPerspectiveView() {
  setPictureAreaPerspective();
}

uint16_t advanceStripOffset(uint16_t offset, uint16_t delta) {
  return uint16_t(offset + delta / 5);
}

uint16_t stripY(int strip, uint16_t offset) {
  const int32_t o = offset;
  int32_t y = 0;
  switch (strip) {
    case 1:
      y = o;
      break;
    case 2:
      y = 800 - o;
      break;
    case 3:
      y = (800 - o) / 2;
      break;
    case 4:
      y = 2 * o;
      break;
    case 5:
      y = 800 - 2 * o;
      break;
    case 6:
      y = (800 - 2 * o) / 2;
      break;
    default:
      break;
  }
  // A negative y wraps to near 65535 and puts the strip far outside the overlay space.
  return uint16_t(y);
}

void drawFrameOverlay(uint16_t delta) {
  glColor3f(1.0f, 1.0f, 1.0f);
  setOrthoView();
  drawBorders();
  if (stripsEnabled) drawStrips(delta);
  setPerspectiveView();
}

void scenePrologue() {
  // The background picture is drawn over the colour buffer, so only depth is cleared.
  glClear(GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  back01Texture.draw(0, 0);
}

void particleBlockState() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
}

void particleBlock() {
  particleBlockState();
  particles.update();
  particles.draw();
}

void modelBlockBegin() {
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
}

void headBlock(uint32_t delta) {
  // float / float is correctly rounded, and for 24-bit operands so is the double quotient rounded
  // to float: this is exactly "delta as a float, divided by 100" in either precision.
  const float drag = float(delta) / 100.0f;
  headMesh.poke(kHeadDragVertex, Vec3(0.0f, -drag, 0.0f));
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, skoraTexture);
  // First pass: the picture under the head becomes the square of the head's colour.
  glBlendFunc(GL_SRC_COLOR, GL_ZERO);
  headMesh.drawFlat();
  // Second pass at equal depth (GL_LEQUAL): the head's colour is added on top.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  headMesh.drawFlat();
}

void sceneEpilogue(uint32_t delta) {
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  // Only the low 16 bits of the delta count for the strips.
  drawFrameOverlay(uint16_t(delta));
}
