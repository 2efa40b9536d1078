#include "gfx/picture_area.h"

#include "gfx/gl.h"

namespace {

void loadProjectionThenIdentityModelview(bool perspective) {
  glViewport(0, 50, 800, 500);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (perspective)
    gluPerspective(45.0, 1.3333333333333333, double(0.01f), 100.0);
  else
    gluOrtho2D(0.0, 800.0, 600.0, 0.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace

void setPictureAreaPerspective() {
  loadProjectionThenIdentityModelview(true);
}
void setPictureAreaOrtho() {
  loadProjectionThenIdentityModelview(false);
}
