// Display lists in compile mode: the vertices of a list go into a vertex buffer of its own at
// glEndList, and glCallList draws that buffer with the state of the moment.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "gles/layer.h"

namespace gles {

bool compilingList();
// The vertex store of the list being compiled, or null.
std::vector<Vertex>* compilingVertices();
// While compiling, the attributes the list itself sets (GL_COMPILE does not change the current
// ones); otherwise the layer's current attributes.
CurrentAttributes& attributeTarget();
// Notes that the list sets an attribute (one of the flags below) for the vertices that follow.
void noteListAttribute(unsigned flag);
// Notes a vertex of the list.
void noteListVertex();

constexpr unsigned kListColor = 1;
constexpr unsigned kListNormal = 2;
constexpr unsigned kListTexCoord = 4;

}  // namespace gles
