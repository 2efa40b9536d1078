// Names that linked code refers to but that only the desktop-scaled surface's copy path calls
// (platform/scaled_surface.cpp), which headless and browser builds never take. They exist so the
// program links; calling one is reported as outside the subset.
#include <GL/gl.h>

#include "gles/layer.h"

using gles::unsupported;

extern "C" {

void glReadBuffer(GLenum) {
  unsupported("glReadBuffer");
}
void glCopyTexSubImage2D(GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei) {
  unsupported("glCopyTexSubImage2D");
}
void glTexEnvi(GLenum, GLenum, GLint) {
  unsupported("glTexEnvi");
}

}  // extern "C"
