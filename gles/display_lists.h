// Display lists in compile mode: the triangles of a list go into buffers of their own at
// glEndList, each distinct vertex once, and glCallList draws them with the state of the moment.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "gles/immediate.h"
#include "gles/layer.h"

namespace gles {

bool compilingList();
// The triangles of the list being compiled, or null.
TriangleBatch* compilingVertices();
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
