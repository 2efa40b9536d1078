// glBegin/glEnd: the primitives the presentation draws (triangles, quads, triangle fans) turned
// into plain triangles and gathered until the state changes.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "gles/layer.h"

namespace gles {

// Turns the vertices of one glBegin/glEnd into triangles appended to `out`.
class TriangleAssembler {
 public:
  // False for a mode outside the subset.
  bool begin(GLenum mode, std::vector<Vertex>* out);
  void add(const Vertex& vertex);
  // Drops what no whole primitive was made of, as GL does.
  void end();

 private:
  GLenum mode_ = GL_TRIANGLES;
  std::vector<Vertex>* out_ = nullptr;
  Vertex first_{};  // a fan's centre; a quad's first corner
  Vertex pending_[3]{};
  int count_ = 0;  // vertices since glBegin
};

// Where vertices go now: the immediate batch, or the list being compiled.
std::vector<Vertex>& vertexSink();

// Draws the gathered immediate-mode triangles with the current state and empties the batch.
void flushImmediate();

}  // namespace gles
