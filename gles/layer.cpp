#include "gles/layer.h"

#include <cstdio>
#include <cstdlib>

#include "gles/display_lists.h"
#include "gles/immediate.h"

namespace gles {

Layer& layer() {
  static Layer state;
  return state;
}

void setError(GLenum error) {
  if (layer().error == GL_NO_ERROR) layer().error = error;
}

void unsupported(const char* what) {
#ifndef NDEBUG
  std::fprintf(stderr, "gles: %s is outside the served GL 1.1 subset\n", what);
  std::abort();
#else
  static bool reported = false;
  if (!reported) std::fprintf(stderr, "gles: %s is outside the served GL 1.1 subset\n", what);
  reported = true;
  setError(GL_INVALID_OPERATION);
#endif
}

bool beginStateCall(const char* name) {
  if (layer().insideBegin) {
    setError(GL_INVALID_OPERATION);
    return false;
  }
  if (compilingList()) {
    unsupported(name);
    return false;
  }
  flushImmediate();
  return true;
}

}  // namespace gles
