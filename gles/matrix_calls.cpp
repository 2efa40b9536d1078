// The modelview and projection stacks and the GLU projections.
#include <GL/gl.h>
#include <GL/glu.h>

#include "gles/layer.h"

using namespace gles;

namespace {

void multiplyCurrent(const char* name, const Mat4& by) {
  if (beginStateCall(name)) layer().currentStack().multiplyTop(by);
}

}  // namespace

extern "C" {

void glMatrixMode(GLenum mode) {
  if (!beginStateCall("glMatrixMode")) return;
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION) return unsupported("glMatrixMode mode");
  layer().matrixMode = mode;
}

void glLoadIdentity() {
  if (beginStateCall("glLoadIdentity")) layer().currentStack().top() = identityMatrix();
}

void glPushMatrix() {
  if (beginStateCall("glPushMatrix") && !layer().currentStack().push()) setError(GL_STACK_OVERFLOW);
}

void glPopMatrix() {
  if (beginStateCall("glPopMatrix") && !layer().currentStack().pop()) setError(GL_STACK_UNDERFLOW);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  multiplyCurrent("glRotatef", rotation(angle, x, y, z));
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  multiplyCurrent("glTranslatef", translation(x, y, z));
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  multiplyCurrent("glTranslated", translation(float(x), float(y), float(z)));
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  multiplyCurrent("glScalef", scaling(x, y, z));
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar) {
  if (left == right || bottom == top || zNear == zFar) {
    if (beginStateCall("glOrtho")) setError(GL_INVALID_VALUE);
    return;
  }
  multiplyCurrent("glOrtho", orthographic(left, right, bottom, top, zNear, zFar));
}

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
  glOrtho(left, right, bottom, top, -1.0, 1.0);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  // GLU leaves the matrix alone when the frustum would be degenerate.
  const Mat4 m = perspective(fovy, aspect, zNear, zFar);
  if (m.m[15] != 0.0f) return;
  multiplyCurrent("gluPerspective", m);
}

}  // extern "C"
