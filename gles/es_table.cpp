#include "gles/es_table.h"

#include <EGL/egl.h>

#include <cstdio>
#include <cstdlib>

namespace gles {

namespace {

template <typename Function>
void fetch(Function& slot, const char* name) {
  slot = reinterpret_cast<Function>(eglGetProcAddress(name));
  if (!slot) {
    std::fprintf(stderr, "gles: the driver has no %s\n", name);
    std::abort();
  }
}

EsTable load() {
  EsTable t{};
  fetch(t.activeTexture, "glActiveTexture");
  fetch(t.attachShader, "glAttachShader");
  fetch(t.bindAttribLocation, "glBindAttribLocation");
  fetch(t.bindBuffer, "glBindBuffer");
  fetch(t.bindTexture, "glBindTexture");
  fetch(t.blendFunc, "glBlendFunc");
  fetch(t.bufferData, "glBufferData");
  fetch(t.clear, "glClear");
  fetch(t.clearColor, "glClearColor");
  fetch(t.clearDepthf, "glClearDepthf");
  fetch(t.compileShader, "glCompileShader");
  fetch(t.createProgram, "glCreateProgram");
  fetch(t.createShader, "glCreateShader");
  fetch(t.deleteBuffers, "glDeleteBuffers");
  fetch(t.deleteTextures, "glDeleteTextures");
  fetch(t.depthFunc, "glDepthFunc");
  fetch(t.disable, "glDisable");
  fetch(t.disableVertexAttribArray, "glDisableVertexAttribArray");
  fetch(t.drawArrays, "glDrawArrays");
  fetch(t.drawElements, "glDrawElements");
  fetch(t.enable, "glEnable");
  fetch(t.enableVertexAttribArray, "glEnableVertexAttribArray");
  fetch(t.finish, "glFinish");
  fetch(t.flush, "glFlush");
  fetch(t.genBuffers, "glGenBuffers");
  fetch(t.genTextures, "glGenTextures");
  fetch(t.getError, "glGetError");
  fetch(t.getIntegerv, "glGetIntegerv");
  fetch(t.getProgramInfoLog, "glGetProgramInfoLog");
  fetch(t.getProgramiv, "glGetProgramiv");
  fetch(t.getShaderInfoLog, "glGetShaderInfoLog");
  fetch(t.getShaderiv, "glGetShaderiv");
  fetch(t.getUniformLocation, "glGetUniformLocation");
  fetch(t.linkProgram, "glLinkProgram");
  fetch(t.pixelStorei, "glPixelStorei");
  fetch(t.readPixels, "glReadPixels");
  fetch(t.shaderSource, "glShaderSource");
  fetch(t.texImage2D, "glTexImage2D");
  fetch(t.texParameteri, "glTexParameteri");
  fetch(t.uniform1i, "glUniform1i");
  fetch(t.uniform4fv, "glUniform4fv");
  fetch(t.uniformMatrix3fv, "glUniformMatrix3fv");
  fetch(t.uniformMatrix4fv, "glUniformMatrix4fv");
  fetch(t.useProgram, "glUseProgram");
  fetch(t.vertexAttrib4fv, "glVertexAttrib4fv");
  fetch(t.vertexAttribPointer, "glVertexAttribPointer");
  fetch(t.viewport, "glViewport");
  return t;
}

}  // namespace

const EsTable& es() {
  static const EsTable table = load();
  return table;
}

}  // namespace gles
