// Capabilities, blending, depth, clears, the viewport, the light and the attribute stacks. What ES
// 2.0 has is passed on at once; what it lacks (lighting, texturing on or off) is kept for the
// shaders.
#include <GL/gl.h>

#include <algorithm>

#include "gles/es_table.h"
#include "gles/layer.h"

using namespace gles;

namespace {

bool* layerOnlyCapability(GLenum cap) {
  EnableState& e = layer().enabled;
  switch (cap) {
    case GL_LIGHTING:
      return &e.lighting;
    case GL_LIGHT0:
      return &e.light0;
    case GL_NORMALIZE:
      return &e.normalize;
    case GL_TEXTURE_2D:
      return &e.texture2d;
    default:
      return nullptr;
  }
}

bool* esCapability(GLenum cap) {
  EnableState& e = layer().enabled;
  switch (cap) {
    case GL_BLEND:
      return &e.blend;
    case GL_DEPTH_TEST:
      return &e.depthTest;
    case GL_SCISSOR_TEST:
      return &e.scissorTest;
    default:
      return nullptr;
  }
}

void setCapability(const char* name, GLenum cap, bool on) {
  if (!beginStateCall(name)) return;
  if (bool* flag = layerOnlyCapability(cap)) {
    *flag = on;
  } else if (bool* esFlag = esCapability(cap)) {
    *esFlag = on;
    on ? es().enable(cap) : es().disable(cap);
  } else {
    unsupported(name);
  }
}

// The factors of GL 1.1 and of GL 1.4's colour factors in either position (the head's first
// pass uses the source colour as the source factor), all of which ES 2.0 has.
bool blendFactor(GLenum f) {
  switch (f) {
    case GL_ZERO:
    case GL_ONE:
    case GL_SRC_COLOR:
    case GL_ONE_MINUS_SRC_COLOR:
    case GL_DST_COLOR:
    case GL_ONE_MINUS_DST_COLOR:
    case GL_SRC_ALPHA:
    case GL_ONE_MINUS_SRC_ALPHA:
    case GL_DST_ALPHA:
    case GL_ONE_MINUS_DST_ALPHA:
      return true;
    default:
      return false;
  }
}

const GLint* knownViewport() {
  Layer& state = layer();
  if (!state.viewportKnown) {
    es().getIntegerv(GL_VIEWPORT, state.viewport);
    state.viewportKnown = true;
  }
  return state.viewport;
}

// Hands the whole kept state back to ES after glPopAttrib.
void resendToEs() {
  const EsTable& gl = es();
  const Layer& s = layer();
  s.enabled.blend ? gl.enable(GL_BLEND) : gl.disable(GL_BLEND);
  s.enabled.depthTest ? gl.enable(GL_DEPTH_TEST) : gl.disable(GL_DEPTH_TEST);
  s.enabled.scissorTest ? gl.enable(GL_SCISSOR_TEST) : gl.disable(GL_SCISSOR_TEST);
  gl.blendFunc(s.colorBuffer.blendSource, s.colorBuffer.blendDestination);
  const float* c = s.colorBuffer.clearColor;
  gl.clearColor(c[0], c[1], c[2], c[3]);
  gl.depthFunc(s.depthBuffer.function);
  gl.clearDepthf(s.depthBuffer.clearDepth);
  if (s.viewportKnown) gl.viewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
}

constexpr GLbitfield kServedAttribBits = GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT |
                                         GL_DEPTH_BUFFER_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT |
                                         GL_PIXEL_MODE_BIT;

}  // namespace

extern "C" {

void glEnable(GLenum cap) {
  setCapability("glEnable", cap, true);
}
void glDisable(GLenum cap) {
  setCapability("glDisable", cap, false);
}

void glBlendFunc(GLenum source, GLenum destination) {
  if (!beginStateCall("glBlendFunc")) return;
  if (!blendFactor(source) || !blendFactor(destination)) return unsupported("glBlendFunc factor");
  layer().colorBuffer.blendSource = source;
  layer().colorBuffer.blendDestination = destination;
  es().blendFunc(source, destination);
}

void glDepthFunc(GLenum function) {
  if (!beginStateCall("glDepthFunc")) return;
  if (function < GL_NEVER || function > GL_ALWAYS) return setError(GL_INVALID_ENUM);
  layer().depthBuffer.function = function;
  es().depthFunc(function);
}

void glShadeModel(GLenum mode) {
  if (!beginStateCall("glShadeModel")) return;
  // ES 2.0 interpolates every varying: smooth shading is all it has.
  if (mode != GL_SMOOTH) unsupported("glShadeModel(GL_FLAT)");
}

void glHint(GLenum target, GLenum mode) {
  if (!beginStateCall("glHint")) return;
  // ES 2.0 always interpolates in perspective, which is what GL_NICEST asks for.
  if (target != GL_PERSPECTIVE_CORRECTION_HINT) unsupported("glHint target");
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  if (!beginStateCall("glClearColor")) return;
  float* c = layer().colorBuffer.clearColor;
  c[0] = std::clamp(r, 0.0f, 1.0f), c[1] = std::clamp(g, 0.0f, 1.0f);
  c[2] = std::clamp(b, 0.0f, 1.0f), c[3] = std::clamp(a, 0.0f, 1.0f);
  es().clearColor(c[0], c[1], c[2], c[3]);
}

void glClearDepth(GLclampd depth) {
  if (!beginStateCall("glClearDepth")) return;
  layer().depthBuffer.clearDepth = float(std::clamp(depth, 0.0, 1.0));
  es().clearDepthf(layer().depthBuffer.clearDepth);
}

void glClear(GLbitfield mask) {
  if (!beginStateCall("glClear")) return;
  if (mask & ~GLbitfield(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT))
    return unsupported("glClear of buffers other than colour and depth");
  es().clear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (!beginStateCall("glViewport")) return;
  if (width < 0 || height < 0) return setError(GL_INVALID_VALUE);
  Layer& state = layer();
  state.viewport[0] = x, state.viewport[1] = y, state.viewport[2] = width;
  state.viewport[3] = height;
  state.viewportKnown = true;
  es().viewport(x, y, width, height);
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
  if (!beginStateCall("glLightfv")) return;
  if (light != GL_LIGHT0) return unsupported("glLightfv light other than GL_LIGHT0");
  Light& l = layer().light0;
  switch (name) {
    case GL_POSITION:
      // Kept in eye space, through the modelview matrix of this moment.
      transform(layer().modelview.top(), values, l.position);
      break;
    case GL_AMBIENT:
      std::copy(values, values + 4, l.ambient);
      break;
    case GL_DIFFUSE:
      std::copy(values, values + 4, l.diffuse);
      break;
    default:
      unsupported("glLightfv parameter");
  }
}

void glGetIntegerv(GLenum name, GLint* values) {
  if (!beginStateCall("glGetIntegerv")) return;
  switch (name) {
    case GL_UNPACK_ALIGNMENT:
      *values = layer().unpackAlignment;
      break;
    case GL_PACK_ALIGNMENT:
      *values = layer().packAlignment;
      break;
    case GL_VIEWPORT:
      std::copy(knownViewport(), knownViewport() + 4, values);
      break;
    case GL_MAX_TEXTURE_SIZE:
      es().getIntegerv(name, values);
      break;
    default:
      unsupported("glGetIntegerv parameter");
  }
}

void glGetFloatv(GLenum name, GLfloat* values) {
  if (!beginStateCall("glGetFloatv")) return;
  if (name != GL_COLOR_CLEAR_VALUE) return unsupported("glGetFloatv parameter");
  std::copy(layer().colorBuffer.clearColor, layer().colorBuffer.clearColor + 4, values);
}

void glPushAttrib(GLbitfield mask) {
  if (!beginStateCall("glPushAttrib")) return;
  if (mask & ~kServedAttribBits) return unsupported("glPushAttrib bit");
  Layer& s = layer();
  if (s.attribStack.size() >= 16) return setError(GL_STACK_OVERFLOW);
  AttribFrame frame{mask, s.enabled, s.colorBuffer, s.depthBuffer, s.current, {}, s.matrixMode};
  std::copy(knownViewport(), knownViewport() + 4, frame.viewport);
  s.attribStack.push_back(frame);
}

void glPopAttrib() {
  if (!beginStateCall("glPopAttrib")) return;
  Layer& s = layer();
  if (s.attribStack.empty()) return setError(GL_STACK_UNDERFLOW);
  const AttribFrame f = s.attribStack.back();
  s.attribStack.pop_back();
  if (f.mask & GL_ENABLE_BIT) s.enabled = f.enabled;
  if (f.mask & GL_COLOR_BUFFER_BIT) {
    s.colorBuffer = f.colorBuffer;
    s.enabled.blend = f.enabled.blend;
  }
  if (f.mask & GL_DEPTH_BUFFER_BIT) {
    s.depthBuffer = f.depthBuffer;
    s.enabled.depthTest = f.enabled.depthTest;
  }
  if (f.mask & GL_CURRENT_BIT) s.current = f.current;
  if (f.mask & GL_VIEWPORT_BIT) std::copy(f.viewport, f.viewport + 4, s.viewport);
  if (f.mask & GL_TRANSFORM_BIT) {
    s.matrixMode = f.matrixMode;
    s.enabled.normalize = f.enabled.normalize;
  }
  resendToEs();
}

}  // extern "C"
