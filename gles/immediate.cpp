#include "gles/immediate.h"

#include "gles/display_lists.h"
#include "gles/es_table.h"
#include "gles/renderer.h"

namespace gles {

namespace {

std::vector<Vertex>& batch() {
  static std::vector<Vertex> vertices;
  return vertices;
}

}  // namespace

bool TriangleAssembler::begin(GLenum mode, std::vector<Vertex>* out) {
  if (mode != GL_TRIANGLES && mode != GL_QUADS && mode != GL_TRIANGLE_FAN) return false;
  mode_ = mode;
  out_ = out;
  count_ = 0;
  return true;
}

void TriangleAssembler::add(const Vertex& v) {
  switch (mode_) {
    case GL_TRIANGLES:
      pending_[count_ % 3] = v;
      if (count_ % 3 == 2) out_->insert(out_->end(), pending_, pending_ + 3);
      break;
    case GL_QUADS:
      // Corners 0 1 2 3 become triangles 0 1 2 and 0 2 3, which share the provoking order GL
      // uses for smooth shading (it does not matter for flat-free drawing).
      if (count_ % 4 == 3)
        out_->insert(out_->end(),
                     {pending_[0], pending_[1], pending_[2], pending_[0], pending_[2], v});
      else
        pending_[count_ % 4] = v;
      break;
    default:  // GL_TRIANGLE_FAN
      if (count_ == 0) {
        first_ = v;
      } else if (count_ >= 2) {
        out_->insert(out_->end(), {first_, pending_[0], v});
      }
      pending_[0] = v;
      break;
  }
  ++count_;
}

void TriangleAssembler::end() {
  out_ = nullptr;
  count_ = 0;
}

std::vector<Vertex>& vertexSink() {
  if (std::vector<Vertex>* list = compilingVertices()) return *list;
  return batch();
}

void flushImmediate() {
  std::vector<Vertex>& vertices = batch();
  if (vertices.empty()) return;
  const EsTable& gl = es();
  static GLuint buffer = 0;
  if (!buffer) gl.genBuffers(1, &buffer);
  gl.bindBuffer(GL_ARRAY_BUFFER, buffer);
  // A fresh store each time: the driver need not wait for the previous draw from it.
  gl.bufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(Vertex)), vertices.data(),
                GL_STREAM_DRAW);
  VertexSource source;
  source.buffer = buffer;
  source.count = GLsizei(vertices.size());
  drawTriangles(source);
  vertices.clear();
}

}  // namespace gles
