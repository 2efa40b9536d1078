// Texture names, images, filters and gluBuild2DMipmaps. ES 2.0 keeps texture names and images
// itself; the layer only makes GL 1.1's upload forms into ones ES takes (the internal format
// given as a component count, BGR order) and remembers the binding for glDrawPixels.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <vector>

#include "gles/es_table.h"
#include "gles/glu_scale.h"
#include "gles/layer.h"

using namespace gles;

namespace {

int componentsOf(GLenum format) {
  switch (format) {
    case GL_RGB:
    case GL_BGR:
      return 3;
    case GL_RGBA:
    case GL_BGRA:
      return 4;
    default:
      return 0;
  }
}

// GL 1.1 takes a component count where ES wants the format itself.
GLenum esFormat(GLint internalFormat) {
  switch (internalFormat) {
    case 3:
    case GL_RGB:
    case GL_RGB8:
      return GL_RGB;
    case 4:
    case GL_RGBA:
    case GL_RGBA8:
      return GL_RGBA;
    default:
      return 0;
  }
}

// Tightly packed rows in the internal format's component order and count: what ES uploads.
std::vector<uint8_t> toInternal(GLsizei width, GLsizei height, GLenum format, const void* pixels,
                                GLenum internal, GLint alignment) {
  const int in = componentsOf(format);
  const int out = internal == GL_RGBA ? 4 : 3;
  const bool swap = format == GL_BGR || format == GL_BGRA;
  const size_t inRow =
      (size_t(width) * size_t(in) + size_t(alignment) - 1) / size_t(alignment) * size_t(alignment);
  std::vector<uint8_t> result(size_t(width) * size_t(height) * size_t(out));
  const auto* src = static_cast<const uint8_t*>(pixels);
  for (GLsizei y = 0; y < height; ++y)
    for (GLsizei x = 0; x < width; ++x) {
      const uint8_t* p = src + size_t(y) * inRow + size_t(x) * size_t(in);
      uint8_t* q = &result[(size_t(y) * size_t(width) + size_t(x)) * size_t(out)];
      q[0] = swap ? p[2] : p[0];
      q[1] = p[1];
      q[2] = swap ? p[0] : p[2];
      if (out == 4) q[3] = in == 4 ? p[3] : 255;
    }
  return result;
}

void uploadTight(GLint level, GLenum internal, GLsizei width, GLsizei height, const uint8_t* data) {
  const EsTable& gl = es();
  gl.pixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.texImage2D(GL_TEXTURE_2D, level, GLint(internal), width, height, 0, internal, GL_UNSIGNED_BYTE,
                data);
  gl.pixelStorei(GL_UNPACK_ALIGNMENT, layer().unpackAlignment);
}

}  // namespace

extern "C" {

void glGenTextures(GLsizei count, GLuint* names) {
  if (beginStateCall("glGenTextures")) es().genTextures(count, names);
}

void glDeleteTextures(GLsizei count, const GLuint* names) {
  if (!beginStateCall("glDeleteTextures")) return;
  for (GLsizei i = 0; i < count; ++i)
    if (names[i] == layer().boundTexture) layer().boundTexture = 0;
  es().deleteTextures(count, names);
}

void glBindTexture(GLenum target, GLuint name) {
  if (!beginStateCall("glBindTexture")) return;
  if (target != GL_TEXTURE_2D) return unsupported("glBindTexture target");
  layer().boundTexture = name;
  es().bindTexture(target, name);
}

void glTexParameteri(GLenum target, GLenum name, GLint value) {
  if (!beginStateCall("glTexParameteri")) return;
  if (target != GL_TEXTURE_2D) return unsupported("glTexParameteri target");
  if (name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T) {
    // GL_CLAMP (to the border colour) has no ES counterpart.
    if (value != GL_REPEAT && value != GL_CLAMP_TO_EDGE) return unsupported("glTexParameteri wrap");
  } else if (name != GL_TEXTURE_MIN_FILTER && name != GL_TEXTURE_MAG_FILTER) {
    return unsupported("glTexParameteri parameter");
  }
  es().texParameteri(target, name, value);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
  if (!beginStateCall("glTexImage2D")) return;
  const GLenum internal = esFormat(internalFormat);
  if (target != GL_TEXTURE_2D || border != 0 || type != GL_UNSIGNED_BYTE || !internal ||
      !componentsOf(format))
    return unsupported("glTexImage2D form");
  if (width < 0 || height < 0) return setError(GL_INVALID_VALUE);
  if (!pixels) {
    uploadTight(level, internal, width, height, nullptr);
    return;
  }
  const std::vector<uint8_t> tight =
      toInternal(width, height, format, pixels, internal, layer().unpackAlignment);
  uploadTight(level, internal, width, height, tight.data());
}

GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void* data) {
  if (!beginStateCall("gluBuild2DMipmaps")) return GLU_INVALID_OPERATION;
  const GLenum internal = esFormat(internalFormat);
  if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE || !internal || !componentsOf(format)) {
    unsupported("gluBuild2DMipmaps form");
    return GLU_INVALID_ENUM;
  }
  if (width < 1 || height < 1) return GLU_INVALID_VALUE;
  const int components = internal == GL_RGBA ? 4 : 3;
  // GLU scales the user's bytes as given; converting the order first changes no value.
  std::vector<uint8_t> level =
      toInternal(width, height, format, data, internal, layer().unpackAlignment);
  int w = gluNearestPower(width);
  int h = gluNearestPower(height);
  if (w != width || h != height) level = gluScale(components, width, height, level.data(), w, h);
  for (GLint n = 0;; ++n) {
    uploadTight(n, internal, w, h, level.data());
    if (w == 1 && h == 1) break;
    level = gluHalve(components, w, h, level.data());
    w = std::max(w / 2, 1);
    h = std::max(h / 2, 1);
  }
  return 0;
}

}  // extern "C"
