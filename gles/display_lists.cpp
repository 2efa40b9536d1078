#include "gles/display_lists.h"

#include <map>

#include "gles/es_table.h"
#include "gles/renderer.h"

namespace gles {

namespace {

struct DisplayList {
  GLuint buffer = 0;
  GLsizei count = 0;
  unsigned arrays = 0;     // the attributes the list sets before its first vertex
  CurrentAttributes last;  // what the list leaves current when called
  unsigned setAny = 0;     // the attributes the list sets at all
};

struct Compilation {
  GLuint name = 0;
  std::vector<Vertex> vertices;
  CurrentAttributes attributes;
  unsigned set = 0;  // attributes set so far
  unsigned beforeFirstVertex = 0;
  bool mixed = false;  // an attribute first set after some vertex had taken the current one
};

std::map<GLuint, DisplayList>& lists() {
  static std::map<GLuint, DisplayList> all;
  return all;
}

// Names handed out by glGenLists and not deleted, with or without contents.
std::map<GLuint, bool>& reserved() {
  static std::map<GLuint, bool> names;
  return names;
}

Compilation*& compilation() {
  static Compilation* current = nullptr;
  return current;
}

void release(GLuint name) {
  auto found = lists().find(name);
  if (found == lists().end()) return;
  if (found->second.buffer) es().deleteBuffers(1, &found->second.buffer);
  lists().erase(found);
}

}  // namespace

bool compilingList() {
  return compilation() != nullptr;
}

std::vector<Vertex>* compilingVertices() {
  return compilation() ? &compilation()->vertices : nullptr;
}

CurrentAttributes& attributeTarget() {
  return compilation() ? compilation()->attributes : layer().current;
}

void noteListAttribute(unsigned flag) {
  Compilation* c = compilation();
  if (!c) return;
  if (!(c->set & flag) && !c->vertices.empty()) c->mixed = true;
  c->set |= flag;
}

void noteListVertex() {
  Compilation* c = compilation();
  if (c && c->vertices.empty()) c->beforeFirstVertex = c->set;
}

}  // namespace gles

using namespace gles;

extern "C" {

GLuint glGenLists(GLsizei range) {
  if (!beginStateCall("glGenLists")) return 0;
  if (range <= 0) {
    if (range < 0) setError(GL_INVALID_VALUE);
    return 0;
  }
  // The lowest run of `range` free names.
  GLuint first = 1;
  for (auto it = reserved().lower_bound(first);
       it != reserved().end() && it->first < first + GLuint(range);
       it = reserved().lower_bound(first))
    first = it->first + 1;
  for (GLuint n = first; n < first + GLuint(range); ++n) reserved()[n] = true;
  return first;
}

void glNewList(GLuint name, GLenum mode) {
  if (!beginStateCall("glNewList")) return;
  if (mode != GL_COMPILE) return unsupported("glNewList mode other than GL_COMPILE");
  if (name == 0) return setError(GL_INVALID_VALUE);
  compilation() = new Compilation();
  compilation()->name = name;
  // The attributes start from the current ones; only what the list sets is recorded as set.
  compilation()->attributes = layer().current;
}

void glEndList() {
  if (layer().insideBegin) return setError(GL_INVALID_OPERATION);
  Compilation* c = compilation();
  if (!c) return setError(GL_INVALID_OPERATION);
  compilation() = nullptr;
  if (c->mixed) unsupported("a display list that sets an attribute after its first vertex");
  release(c->name);
  reserved()[c->name] = true;
  DisplayList list;
  list.count = GLsizei(c->vertices.size());
  list.arrays = c->beforeFirstVertex;
  if (c->vertices.empty()) list.arrays = c->set;
  list.setAny = c->set;
  list.last = c->attributes;
  if (list.count > 0) {
    const EsTable& gl = es();
    gl.genBuffers(1, &list.buffer);
    gl.bindBuffer(GL_ARRAY_BUFFER, list.buffer);
    gl.bufferData(GL_ARRAY_BUFFER, GLsizeiptr(c->vertices.size() * sizeof(Vertex)),
                  c->vertices.data(), GL_STATIC_DRAW);
  }
  lists()[c->name] = list;
  delete c;
}

void glCallList(GLuint name) {
  if (!beginStateCall("glCallList")) return;
  auto found = lists().find(name);
  if (found == lists().end()) return;
  const DisplayList& list = found->second;
  VertexSource source;
  source.buffer = list.buffer;
  source.count = list.count;
  source.colorArray = list.arrays & kListColor;
  source.normalArray = list.arrays & kListNormal;
  source.texCoordArray = list.arrays & kListTexCoord;
  drawTriangles(source);
  // Executing the list's attribute calls leaves their last values current.
  CurrentAttributes& current = layer().current;
  if (list.setAny & kListColor) std::copy(list.last.color, list.last.color + 4, current.color);
  if (list.setAny & kListNormal) std::copy(list.last.normal, list.last.normal + 3, current.normal);
  if (list.setAny & kListTexCoord)
    std::copy(list.last.texCoord, list.last.texCoord + 2, current.texCoord);
}

void glDeleteLists(GLuint first, GLsizei range) {
  if (!beginStateCall("glDeleteLists")) return;
  if (range < 0) return setError(GL_INVALID_VALUE);
  for (GLuint n = first; n < first + GLuint(range); ++n) {
    release(n);
    reserved().erase(n);
  }
}

}  // extern "C"
