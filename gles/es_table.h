// The OpenGL ES 2.0 entry points the layer draws with, in one table filled once through
// eglGetProcAddress. The layer defines the GL 1.1 names itself, so it never links libGLESv2 by
// name: two definitions of glClear in one program would be ambiguous. Only ES 2.0 (WebGL 1)
// functions belong here.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace gles {

struct EsTable {
  void (*activeTexture)(GLenum);
  void (*attachShader)(GLuint, GLuint);
  void (*bindAttribLocation)(GLuint, GLuint, const GLchar*);
  void (*bindBuffer)(GLenum, GLuint);
  void (*bindTexture)(GLenum, GLuint);
  void (*blendFunc)(GLenum, GLenum);
  void (*bufferData)(GLenum, GLsizeiptr, const void*, GLenum);
  void (*clear)(GLbitfield);
  void (*clearColor)(GLfloat, GLfloat, GLfloat, GLfloat);
  void (*clearDepthf)(GLfloat);
  void (*compileShader)(GLuint);
  GLuint (*createProgram)();
  GLuint (*createShader)(GLenum);
  void (*deleteBuffers)(GLsizei, const GLuint*);
  void (*deleteTextures)(GLsizei, const GLuint*);
  void (*depthFunc)(GLenum);
  void (*disable)(GLenum);
  void (*disableVertexAttribArray)(GLuint);
  void (*drawArrays)(GLenum, GLint, GLsizei);
  void (*drawElements)(GLenum, GLsizei, GLenum, const void*);
  void (*enable)(GLenum);
  void (*enableVertexAttribArray)(GLuint);
  void (*finish)();
  void (*flush)();
  void (*genBuffers)(GLsizei, GLuint*);
  void (*genTextures)(GLsizei, GLuint*);
  GLenum (*getError)();
  void (*getIntegerv)(GLenum, GLint*);
  void (*getProgramInfoLog)(GLuint, GLsizei, GLsizei*, GLchar*);
  void (*getProgramiv)(GLuint, GLenum, GLint*);
  void (*getShaderInfoLog)(GLuint, GLsizei, GLsizei*, GLchar*);
  void (*getShaderiv)(GLuint, GLenum, GLint*);
  GLint (*getUniformLocation)(GLuint, const GLchar*);
  void (*linkProgram)(GLuint);
  void (*pixelStorei)(GLenum, GLint);
  void (*readPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
  void (*shaderSource)(GLuint, GLsizei, const GLchar* const*, const GLint*);
  void (*texImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
  void (*texParameteri)(GLenum, GLenum, GLint);
  void (*uniform1i)(GLint, GLint);
  void (*uniform4fv)(GLint, GLsizei, const GLfloat*);
  void (*uniformMatrix3fv)(GLint, GLsizei, GLboolean, const GLfloat*);
  void (*uniformMatrix4fv)(GLint, GLsizei, GLboolean, const GLfloat*);
  void (*useProgram)(GLuint);
  void (*vertexAttrib4fv)(GLuint, const GLfloat*);
  void (*vertexAttribPointer)(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
  void (*viewport)(GLint, GLint, GLsizei, GLsizei);
};

// The table, filled on first use. An entry the driver does not have stops the program: nothing
// could be drawn without it.
const EsTable& es();

}  // namespace gles
