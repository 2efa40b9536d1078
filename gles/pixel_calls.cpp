// Pixel storage, reading the frame back, the window-placed picture, glFinish and glGetError.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <vector>

#include "gles/es_table.h"
#include "gles/layer.h"
#include "gles/renderer.h"

using namespace gles;

namespace {

size_t rowStride(size_t bytes, GLint alignment) {
  return (bytes + size_t(alignment) - 1) / size_t(alignment) * size_t(alignment);
}

}  // namespace

extern "C" {

void glPixelStorei(GLenum name, GLint value) {
  if (!beginStateCall("glPixelStorei")) return;
  if (name != GL_UNPACK_ALIGNMENT && name != GL_PACK_ALIGNMENT)
    return unsupported("glPixelStorei parameter");
  if (value != 1 && value != 2 && value != 4 && value != 8) return setError(GL_INVALID_VALUE);
  (name == GL_UNPACK_ALIGNMENT ? layer().unpackAlignment : layer().packAlignment) = value;
  es().pixelStorei(name, value);
}

void glPushClientAttrib(GLbitfield mask) {
  if (!beginStateCall("glPushClientAttrib")) return;
  if (mask != GL_CLIENT_PIXEL_STORE_BIT) return unsupported("glPushClientAttrib bit");
  Layer& s = layer();
  s.clientStack.push_back(s.unpackAlignment);
  s.clientStack.push_back(s.packAlignment);
}

void glPopClientAttrib() {
  if (!beginStateCall("glPopClientAttrib")) return;
  Layer& s = layer();
  if (s.clientStack.empty()) return setError(GL_STACK_UNDERFLOW);
  s.packAlignment = s.clientStack.back();
  s.clientStack.pop_back();
  s.unpackAlignment = s.clientStack.back();
  s.clientStack.pop_back();
  es().pixelStorei(GL_PACK_ALIGNMENT, s.packAlignment);
  es().pixelStorei(GL_UNPACK_ALIGNMENT, s.unpackAlignment);
}

// ES 2.0 reads RGBA bytes only; RGB is made from them.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) {
  if (!beginStateCall("glReadPixels")) return;
  if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA))
    return unsupported("glReadPixels format");
  if (width <= 0 || height <= 0) return;
  const EsTable& gl = es();
  std::vector<unsigned char> rgba(size_t(width) * size_t(height) * 4);
  gl.pixelStorei(GL_PACK_ALIGNMENT, 4);
  gl.readPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  gl.pixelStorei(GL_PACK_ALIGNMENT, layer().packAlignment);
  const size_t channels = format == GL_RGB ? 3 : 4;
  const size_t stride = rowStride(size_t(width) * channels, layer().packAlignment);
  auto* out = static_cast<unsigned char*>(pixels);
  for (GLsizei row = 0; row < height; ++row) {
    const unsigned char* from = rgba.data() + size_t(row) * size_t(width) * 4;
    unsigned char* to = out + size_t(row) * stride;
    for (GLsizei col = 0; col < width; ++col)
      std::memcpy(to + size_t(col) * channels, from + size_t(col) * 4, channels);
  }
}

void glWindowPos2i(GLint x, GLint y) {
  if (!beginStateCall("glWindowPos2i")) return;
  layer().windowPosition[0] = x;
  layer().windowPosition[1] = y;
}

// Pictures only, with no zoom and nothing on the pixel path: what the loading screen draws.
void glDrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels) {
  if (!beginStateCall("glDrawPixels")) return;
  if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_BGR))
    return unsupported("glDrawPixels format");
  if (width <= 0 || height <= 0) return;
  const size_t stride = rowStride(size_t(width) * 3, layer().unpackAlignment);
  std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
  const auto* in = static_cast<const unsigned char*>(pixels);
  for (GLsizei row = 0; row < height; ++row) {
    const unsigned char* from = in + size_t(row) * stride;
    unsigned char* to = rgb.data() + size_t(row) * size_t(width) * 3;
    for (GLsizei col = 0; col < width; ++col) {
      const unsigned char* p = from + size_t(col) * 3;
      const bool bgr = format == GL_BGR;
      to[col * 3 + 0] = bgr ? p[2] : p[0];
      to[col * 3 + 1] = p[1];
      to[col * 3 + 2] = bgr ? p[0] : p[2];
    }
  }
  drawWindowPicture(layer().windowPosition[0], layer().windowPosition[1], width, height,
                    rgb.data());
}

void glFinish() {
  if (beginStateCall("glFinish")) es().finish();
}

// The platforms flush before they present: the last primitives of a frame are still in the batch.
void glFlush() {
  if (beginStateCall("glFlush")) es().flush();
}

GLenum glGetError() {
  if (layer().insideBegin) return GL_INVALID_OPERATION;
  GLenum error = layer().error;
  layer().error = GL_NO_ERROR;
  if (error == GL_NO_ERROR) error = es().getError();
  return error;
}

}  // extern "C"
