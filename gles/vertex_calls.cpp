// glBegin/glEnd and the per-vertex calls: the current attributes, and vertices handed to the
// triangle assembler that feeds the batch or the list being compiled.
#include <GL/gl.h>

#include "gles/display_lists.h"
#include "gles/immediate.h"
#include "gles/layer.h"

using namespace gles;

namespace {

TriangleAssembler& assembler() {
  static TriangleAssembler instance;
  return instance;
}

void emit(float x, float y, float z) {
  // A vertex outside glBegin/glEnd has no effect.
  if (!layer().insideBegin) return;
  noteListVertex();
  const CurrentAttributes& a = attributeTarget();
  Vertex v{{x, y, z},
           {a.color[0], a.color[1], a.color[2], a.color[3]},
           {a.normal[0], a.normal[1], a.normal[2]},
           {a.texCoord[0], a.texCoord[1]}};
  assembler().add(v);
}

void setColor(float r, float g, float b, float a) {
  noteListAttribute(kListColor);
  float* c = attributeTarget().color;
  c[0] = r, c[1] = g, c[2] = b, c[3] = a;
}

void setTexCoord(float s, float t) {
  noteListAttribute(kListTexCoord);
  float* c = attributeTarget().texCoord;
  c[0] = s, c[1] = t;
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
  Layer& state = layer();
  if (state.insideBegin) return setError(GL_INVALID_OPERATION);
  // No flush here: consecutive primitives under one state share the batch.
  if (!assembler().begin(mode, &vertexSink())) return unsupported("glBegin mode");
  state.insideBegin = true;
}

void glEnd() {
  Layer& state = layer();
  if (!state.insideBegin) return setError(GL_INVALID_OPERATION);
  assembler().end();
  state.insideBegin = false;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  emit(x, y, z);
}
void glVertex2d(GLdouble x, GLdouble y) {
  emit(float(x), float(y), 0.0f);
}
void glVertex2i(GLint x, GLint y) {
  emit(float(x), float(y), 0.0f);
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
  setColor(r, g, b, 1.0f);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  setColor(r, g, b, a);
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  noteListAttribute(kListNormal);
  float* n = attributeTarget().normal;
  n[0] = x, n[1] = y, n[2] = z;
}
void glTexCoord2f(GLfloat s, GLfloat t) {
  setTexCoord(s, t);
}
void glTexCoord2i(GLint s, GLint t) {
  setTexCoord(float(s), float(t));
}

}  // extern "C"
