#include "gles/immediate.h"

#include "gles/display_lists.h"
#include "gles/es_table.h"
#include "gles/renderer.h"

namespace gles {

namespace {

TriangleBatch& batch() {
  static TriangleBatch triangles;
  return triangles;
}

}  // namespace

void TriangleBatch::clear() {
  vertices.clear();
  indices.clear();
  runs.assign(1, Run{0, 0});
}

bool TriangleBatch::makeRoom(size_t count) {
  if (vertices.size() - runs.back().firstVertex + count <= kRunVertices) return false;
  runs.push_back(Run{vertices.size(), indices.size()});
  return true;
}

GLushort TriangleBatch::add(const Vertex& vertex) {
  vertices.push_back(vertex);
  return GLushort(vertices.size() - 1 - runs.back().firstVertex);
}

bool TriangleAssembler::begin(GLenum mode, TriangleBatch* out) {
  if (mode != GL_TRIANGLES && mode != GL_QUADS && mode != GL_TRIANGLE_FAN) return false;
  mode_ = mode;
  out_ = out;
  count_ = 0;
  return true;
}

void TriangleAssembler::add(const Vertex& v) {
  TriangleBatch& out = *out_;
  switch (mode_) {
    case GL_TRIANGLES:
      pending_[count_ % 3] = v;
      if (count_ % 3 == 2) {
        out.makeRoom(3);
        for (const Vertex& corner : pending_) out.indices.push_back(out.add(corner));
      }
      break;
    case GL_QUADS:
      // Corners 0 1 2 3 become triangles 0 1 2 and 0 2 3, in GL's order.
      if (count_ % 4 == 3) {
        out.makeRoom(4);
        const GLushort a = out.add(pending_[0]), b = out.add(pending_[1]);
        const GLushort c = out.add(pending_[2]), d = out.add(v);
        out.indices.insert(out.indices.end(), {a, b, c, a, c, d});
      } else {
        pending_[count_ % 4] = v;
      }
      break;
    default:  // GL_TRIANGLE_FAN
      if (count_ == 0) {
        first_ = v;
      } else if (count_ >= 2) {
        // The centre and the previous rim vertex are stored with the first triangle, and again
        // when a new run starts, since indices reach only their own run.
        if (count_ == 2 || out.makeRoom(1)) {
          out.makeRoom(3);
          centre_ = out.add(first_);
          previous_ = out.add(pending_[0]);
        }
        const GLushort next = out.add(v);
        out.indices.insert(out.indices.end(), {centre_, previous_, next});
        previous_ = next;
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

TriangleBatch& vertexSink() {
  if (TriangleBatch* list = compilingVertices()) return *list;
  return batch();
}

void flushImmediate() {
  TriangleBatch& triangles = batch();
  if (triangles.empty()) return;
  const EsTable& gl = es();
  static GLuint buffers[2] = {0, 0};
  if (!buffers[0]) gl.genBuffers(2, buffers);
  // A fresh store each time: the driver need not wait for the previous draw from it.
  gl.bindBuffer(GL_ARRAY_BUFFER, buffers[0]);
  gl.bufferData(GL_ARRAY_BUFFER, GLsizeiptr(triangles.vertices.size() * sizeof(Vertex)),
                triangles.vertices.data(), GL_STREAM_DRAW);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
  gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(triangles.indices.size() * sizeof(GLushort)),
                triangles.indices.data(), GL_STREAM_DRAW);
  VertexSource source;
  source.buffer = buffers[0];
  source.indexBuffer = buffers[1];
  source.runs = &triangles.runs;
  source.indexCount = triangles.indices.size();
  drawTriangles(source);
  triangles.clear();
}

}  // namespace gles
