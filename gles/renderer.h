// Drawing triangles with the fixed-function state of the moment: four shader programs (lit or
// not, textured or not), their uniforms from the layer's matrices and light, and the vertex
// attributes from a buffer.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <vector>

namespace gles {

// A stretch of indexed triangles whose 16-bit indices count from `firstVertex`, their indices
// starting at `firstIndex` in the index buffer.
struct IndexRun {
  size_t firstVertex;
  size_t firstIndex;
};

// Where a draw's vertices are: Vertex records in `buffer`, drawn as `indexCount` indices from
// `indexBuffer` in the given runs, or as `count` records from its start without an index
// buffer. An attribute whose array is off takes the current value instead (a display list that
// never set it).
struct VertexSource {
  GLuint buffer = 0;
  GLsizei count = 0;
  GLuint indexBuffer = 0;
  const std::vector<IndexRun>* runs = nullptr;
  size_t indexCount = 0;
  bool colorArray = true;
  bool normalArray = true;
  bool texCoordArray = true;
};

void drawTriangles(const VertexSource& source);

// A picture of width x height tightly packed RGB texels drawn 1:1 with its lower-left corner at
// window (x, y), untouched by the matrices, lighting and texturing: the part of glDrawPixels that
// is used.
void drawWindowPicture(GLint x, GLint y, GLsizei width, GLsizei height, const void* rgb);

}  // namespace gles
