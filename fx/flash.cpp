// The flash quad: an additive white layer over the picture area, drawn at the end of every frame.
// It also leaves the GL state that the next frame's scene starts from.
#include "fx/flash.h"

#include "gfx/gl.h"
#include "gfx/picture_area.h"

void FlashOverlay::draw(float decay) {
  setPictureAreaPerspective();

  decayBy(decay);

  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glColor4f(1.0f, 1.0f, 1.0f, alpha);
  // At distance 1 the frustum is well inside this quad, so it covers the whole viewport.
  glBegin(GL_QUADS);
  glVertex3f(-10.0f, -10.0f, -1.0f);
  glVertex3f(10.0f, -10.0f, -1.0f);
  glVertex3f(10.0f, 10.0f, -1.0f);
  glVertex3f(-10.0f, 10.0f, -1.0f);
  glEnd();
}
