// Drawing triangles with the fixed-function state of the moment: four shader programs (lit or
// not, textured or not), their uniforms from the layer's matrices and light, and the vertex
// attributes from a buffer.
#pragma once

#include <GL/gl.h>

namespace gles {

// Where a draw's vertices are: `count` Vertex records from the start of `buffer`. An attribute
// whose array is off takes the current value instead (a display list that never set it).
struct VertexSource {
  GLuint buffer = 0;
  GLsizei count = 0;
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
