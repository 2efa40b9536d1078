#include "gles/display_lists.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <unordered_map>

#include "gles/es_table.h"
#include "gles/renderer.h"

namespace gles {

namespace {

struct DisplayList {
  GLuint buffers[2] = {0, 0};  // vertices, indices
  std::vector<IndexRun> runs;
  size_t indexCount = 0;
  unsigned arrays = 0;     // the attributes the list sets before its first vertex
  CurrentAttributes last;  // what the list leaves current when called
  unsigned setAny = 0;     // the attributes the list sets at all
};

struct Compilation {
  GLuint name = 0;
  TriangleBatch triangles;
  CurrentAttributes attributes;
  unsigned set = 0;  // attributes set so far
  bool sawVertex = false;
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
  if (found->second.buffers[0]) es().deleteBuffers(2, found->second.buffers);
  lists().erase(found);
}

// A vertex's bits, so that only vertices identical in every attribute are merged.
struct VertexKey {
  uint32_t words[sizeof(Vertex) / sizeof(uint32_t)];
  bool operator==(const VertexKey& other) const {
    return std::memcmp(words, other.words, sizeof words) == 0;
  }
};
struct VertexKeyHash {
  size_t operator()(const VertexKey& key) const {
    uint64_t h = 1469598103934665603ull;
    for (uint32_t w : key.words) h = (h ^ w) * 1099511628211ull;
    return size_t(h ^ (h >> 32));
  }
};

// The same triangles with each distinct vertex stored once per run, as a mesh whose corners
// are shared by several faces is transformed and lit once per vertex by GL 1.1's lists.
TriangleBatch shareVertices(const TriangleBatch& in) {
  TriangleBatch out;
  std::unordered_map<VertexKey, GLushort, VertexKeyHash> stored;
  for (size_t r = 0; r < in.runs.size(); ++r) {
    const size_t end = r + 1 < in.runs.size() ? in.runs[r + 1].firstIndex : in.indices.size();
    const Vertex* vertices = in.vertices.data() + in.runs[r].firstVertex;
    for (size_t i = in.runs[r].firstIndex; i + 2 < end; i += 3) {
      VertexKey keys[3];
      size_t fresh = 0;
      for (int k = 0; k < 3; ++k) {
        std::memcpy(keys[k].words, &vertices[in.indices[i + k]], sizeof(Vertex));
        fresh += stored.count(keys[k]) ? 0 : 1;
      }
      if (out.makeRoom(fresh)) stored.clear();
      for (int k = 0; k < 3; ++k) {
        auto found = stored.find(keys[k]);
        if (found == stored.end())
          found = stored.emplace(keys[k], out.add(vertices[in.indices[i + k]])).first;
        out.indices.push_back(found->second);
      }
    }
  }
  return out;
}

}  // namespace

bool compilingList() {
  return compilation() != nullptr;
}

TriangleBatch* compilingVertices() {
  return compilation() ? &compilation()->triangles : nullptr;
}

CurrentAttributes& attributeTarget() {
  return compilation() ? compilation()->attributes : layer().current;
}

void noteListAttribute(unsigned flag) {
  Compilation* c = compilation();
  if (!c) return;
  if (!(c->set & flag) && c->sawVertex) c->mixed = true;
  c->set |= flag;
}

void noteListVertex() {
  Compilation* c = compilation();
  if (c && !c->sawVertex) {
    c->beforeFirstVertex = c->set;
    c->sawVertex = true;
  }
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
  list.arrays = c->beforeFirstVertex;
  if (!c->sawVertex) list.arrays = c->set;
  list.setAny = c->set;
  list.last = c->attributes;
  if (!c->triangles.empty()) {
    const TriangleBatch shared = shareVertices(c->triangles);
    list.runs = shared.runs;
    list.indexCount = shared.indices.size();
    const EsTable& gl = es();
    gl.genBuffers(2, list.buffers);
    gl.bindBuffer(GL_ARRAY_BUFFER, list.buffers[0]);
    gl.bufferData(GL_ARRAY_BUFFER, GLsizeiptr(shared.vertices.size() * sizeof(Vertex)),
                  shared.vertices.data(), GL_STATIC_DRAW);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, list.buffers[1]);
    gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(shared.indices.size() * sizeof(GLushort)),
                  shared.indices.data(), GL_STATIC_DRAW);
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
  source.buffer = list.buffers[0];
  source.indexBuffer = list.buffers[1];
  source.runs = &list.runs;
  source.indexCount = list.indexCount;
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
