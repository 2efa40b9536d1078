// OpenGL 1.1 fixed-function drawing over OpenGL ES 2.0 (WebGL 1): exactly the subset the
// presentation, its platform and the headless tools use, with GL 1.1's results.
//
// The presentation calls (count: `grep -rhoE '\b(gl|glu)[A-Z]\w*' app assets gfx model3ds fx`):
//   state      glEnable glDisable (GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0,
//              GL_NORMALIZE, GL_TEXTURE_2D) glBlendFunc glDepthFunc glShadeModel(GL_SMOOTH)
//              glHint glClearColor glClearDepth glClear glViewport glGetIntegerv glPixelStorei
//   matrices   glMatrixMode glLoadIdentity glRotatef glTranslatef glTranslated glScalef
//              gluPerspective gluOrtho2D
//   vertices   glBegin(GL_TRIANGLES, GL_QUADS, GL_TRIANGLE_FAN) glEnd glVertex3f glVertex2d
//              glColor3f glColor4f glNormal3f glTexCoord2f glTexCoord2i
//   lists      glGenLists glNewList(GL_COMPILE) glEndList glCallList glDeleteLists
//   lighting   glLightfv(GL_LIGHT0: GL_POSITION, GL_AMBIENT, GL_DIFFUSE)
//   textures   glGenTextures glBindTexture glTexImage2D glTexParameteri glDeleteTextures
//              gluBuild2DMipmaps (GL_MODULATE)
// The Linux platform and the headless tools add: glPushAttrib glPopAttrib glPushClientAttrib
// glPopClientAttrib glWindowPos2i glDrawPixels (the loading picture), glGetFloatv
// (GL_COLOR_CLEAR_VALUE), glReadPixels glFinish glGetError (capture and bench), glFlush (before
// each swap), and glOrtho glPushMatrix glPopMatrix glVertex2i. What the desktop-scaled surface
// alone needs (glReadBuffer, glCopyTexSubImage2D, glTexEnvi, the copy path's attribute bits) is not
// served: the headless and web builds never draw scaled. Every call or argument outside the subset
// stops a debug build with its name; a release build records GL_INVALID_OPERATION and says so once
// on stderr.
//
// Vertices between glBegin and glEnd are gathered into one batch of indexed triangles that is
// drawn when any other call changes state, so a mesh or a run of particles is one draw, and a
// quad's or a fan's shared corners are shaded once. Display lists are compiled into buffers of
// their own once, each distinct vertex stored once, and drawn with one call. Lighting is computed
// per vertex in the vertex shader, as GL 1.1 does, with GL's default material.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "gles/matrix.h"

namespace gles {

struct Vertex {
  float position[3];
  float color[4];
  float normal[3];
  float texCoord[2];
};

struct CurrentAttributes {
  float color[4] = {1, 1, 1, 1};
  float normal[3] = {0, 0, 1};
  float texCoord[2] = {0, 0};
};

// State that glPushAttrib saves, by group.
struct EnableState {
  bool blend = false;
  bool depthTest = false;
  bool scissorTest = false;
  bool lighting = false;
  bool light0 = false;
  bool normalize = false;
  bool texture2d = false;
};
struct ColorBufferState {
  GLenum blendSource = GL_ONE;
  GLenum blendDestination = GL_ZERO;
  float clearColor[4] = {0, 0, 0, 0};
};
struct DepthBufferState {
  GLenum function = GL_LESS;
  float clearDepth = 1.0f;
};
struct Light {
  float position[4] = {0, 0, 1, 0};  // eye space, as transformed when it was set
  float ambient[4] = {0, 0, 0, 1};
  float diffuse[4] = {1, 1, 1, 1};
};

struct AttribFrame {
  GLbitfield mask;
  EnableState enabled;
  ColorBufferState colorBuffer;
  DepthBufferState depthBuffer;
  CurrentAttributes current;
  GLint viewport[4];
  GLenum matrixMode;
};

struct Layer {
  Layer() : modelview(32), projection(32) {}
  MatrixStack modelview;
  MatrixStack projection;
  GLenum matrixMode = GL_MODELVIEW;
  CurrentAttributes current;
  Light light0;
  EnableState enabled;
  ColorBufferState colorBuffer;
  DepthBufferState depthBuffer;
  GLint viewport[4] = {0, 0, 0, 0};
  bool viewportKnown = false;  // GL starts with the window's size, which only the driver knows
  GLint unpackAlignment = 4;
  GLint packAlignment = 4;
  GLuint boundTexture = 0;
  GLint windowPosition[2] = {0, 0};
  std::vector<AttribFrame> attribStack;
  std::vector<GLint> clientStack;  // unpack and pack alignment, in pairs
  GLenum error = GL_NO_ERROR;
  bool insideBegin = false;

  MatrixStack& currentStack() { return matrixMode == GL_PROJECTION ? projection : modelview; }
};

Layer& layer();

// Records `error` unless an earlier one is still unread, as GL does.
void setError(GLenum error);
// A call or argument outside the served subset: stops a debug build, reports once otherwise.
void unsupported(const char* what);
// Every call other than the vertex calls goes through this first: it refuses calls between
// glBegin and glEnd or while a list is compiled, and draws the gathered vertices, which were
// meant for the state before this call. False when the call must do nothing.
bool beginStateCall(const char* name);

}  // namespace gles
