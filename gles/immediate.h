// glBegin/glEnd: the primitives the presentation draws (triangles, quads, triangle fans) turned
// into indexed triangles and gathered until the state changes.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "gles/layer.h"
#include "gles/renderer.h"

namespace gles {

// Triangles as 16-bit indices (all ES 2.0 has) into vertices stored once each, so that a quad's
// or a fan's shared corners are transformed and lit once, as GL 1.1 does. A run is a stretch of
// at most 65536 vertices that its indices count from.
struct TriangleBatch {
  using Run = IndexRun;
  static constexpr size_t kRunVertices = 65536;

  std::vector<Vertex> vertices;
  std::vector<GLushort> indices;
  std::vector<Run> runs{{0, 0}};

  bool empty() const { return indices.empty(); }
  void clear();
  // Starts a new run unless `count` more vertices fit in the current one; true if it did.
  bool makeRoom(size_t count);
  // Stores a vertex in the current run and returns its index there.
  GLushort add(const Vertex& vertex);
};

// Turns the vertices of one glBegin/glEnd into triangles appended to `out`.
class TriangleAssembler {
 public:
  // False for a mode outside the subset.
  bool begin(GLenum mode, TriangleBatch* out);
  void add(const Vertex& vertex);
  // Drops what no whole primitive was made of, as GL does.
  void end();

 private:
  GLenum mode_ = GL_TRIANGLES;
  TriangleBatch* out_ = nullptr;
  Vertex first_{};  // a fan's centre
  Vertex pending_[3]{};
  GLushort centre_ = 0;  // a fan's centre and previous rim vertex, once stored
  GLushort previous_ = 0;
  int count_ = 0;  // vertices since glBegin
};

// Where vertices go now: the immediate batch, or the list being compiled.
TriangleBatch& vertexSink();

// Draws the gathered immediate-mode triangles with the current state and empties the batch.
void flushImmediate();

}  // namespace gles
