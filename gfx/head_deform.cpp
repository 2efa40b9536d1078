// The deforming head: poke drags one vertex and lets the drag spread through the neighbour lists
// ring by ring; drawFlat sends the mesh flat-shaded in immediate mode.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "gfx/gl.h"
#include "gfx/head_mesh.h"

namespace {

// A sweep visits the pending vertices in ascending index order, and a vertex pulled from a lower
// index is still visited in the same sweep. A bitmap of the pending flags gives exactly that order
// without reading every vertex record on every pass of the wave. The scratch lives for the program
// so that a poke allocates only the first time it meets a bigger mesh; pokes are never nested.
struct PokeScratch {
  std::vector<uint64_t> pending;    // one bit per vertex, mirrors HeadVertex::pending
  std::vector<uint16_t> spreading;  // the vertices that spread in the current sweep

  void prepare(uint32_t vertexCount) {
    const size_t words = (size_t(vertexCount) + 63) / 64;
    pending.assign(words, 0);
    spreading.clear();
    spreading.reserve(vertexCount);
  }
};

PokeScratch& scratch() {
  static PokeScratch instance;
  return instance;
}

void setBit(std::vector<uint64_t>& bits, uint32_t i) {
  bits[i >> 6] |= uint64_t(1) << (i & 63);
}

void clearBit(std::vector<uint64_t>& bits, uint32_t i) {
  bits[i >> 6] &= ~(uint64_t(1) << (i & 63));
}

// Pulls every unlocked neighbour of vertex i a tenth of the way back to its rest distance from i.
void pullNeighbours(std::vector<HeadVertex>& vertices, uint32_t count, uint32_t i,
                    PokeScratch& work) {
  HeadVertex& source = vertices[i];
  for (const HeadNeighbour* node = source.neighbours; node; node = node->next) {
    const uint32_t n = node->index;
    if (n >= count) continue;  // a list that names no vertex of this mesh
    HeadVertex& target = vertices[n];
    if (target.locked) continue;
    if (!source.spreading) {
      source.spreading = 1;
      work.spreading.push_back(uint16_t(i));
    }
    target.pending = 1;
    setBit(work.pending, n);
    Vec3 w = source.position - (target.position + target.offset);
    const float stretch = w.length() - node->restLength;
    w.setLength(stretch);
    w = w * 0.1f;
    target.offset = target.offset + w;
  }
}

// One sweep over the pending vertices in ascending order. Bits set above the current vertex
// (in its own word or later ones) are picked up in this sweep, those below wait for the next.
void sweep(std::vector<HeadVertex>& vertices, uint32_t count, PokeScratch& work) {
  for (size_t word = 0; word < work.pending.size(); ++word) {
    uint64_t visited = 0;  // bits of this word at or below the last vertex visited
    for (;;) {
      const uint64_t bits = work.pending[word] & ~visited;
      if (bits == 0) break;
      const int bit = __builtin_ctzll(bits);
      visited = bit == 63 ? ~uint64_t(0) : (uint64_t(2) << bit) - 1;
      const uint32_t i = uint32_t(word * 64 + unsigned(bit));
      vertices[i].pending = 0;
      clearBit(work.pending, i);
      pullNeighbours(vertices, count, i, work);
    }
  }
}

// Moves the vertices that spread in this sweep by their gathered offsets; false when none did.
bool apply(std::vector<HeadVertex>& vertices, PokeScratch& work) {
  if (work.spreading.empty()) return false;
  for (const uint16_t i : work.spreading) {
    HeadVertex& v = vertices[i];
    v.locked = 1;
    v.spreading = 0;
    // The offset stays: a vertex that spreads again in a later pass adds it a second time.
    v.position = v.position + v.offset;
    if (v.position.length() < 3.5f) v.position.setLength(3.5f);
  }
  work.spreading.clear();
  return true;
}

// Every vertex, not only those the wave reached: the flags are left clear whatever they were.
void reset(std::vector<HeadVertex>& vertices, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    HeadVertex& v = vertices[i];
    v.locked = 0;
    v.pending = 0;
    v.spreading = 0;
    v.offset.set(0.0f, 0.0f, 0.0f);
  }
}

}  // namespace

void HeadMesh::poke(uint32_t index, Vec3 displacement) {
  const uint32_t count = std::min<size_t>(vertexCount, vertices.size());
  if (index >= count) return;

  PokeScratch& work = scratch();
  work.prepare(count);

  HeadVertex& poked = vertices[index];
  poked.position = poked.position + displacement;
  poked.locked = 1;
  poked.pending = 1;
  poked.spreading = 0;
  setBit(work.pending, index);

  // Every pass that moves something locks a vertex or leaves only unlocked ones pending, so the
  // wave ends after at most about two passes per vertex.
  bool moved = true;
  while (moved) {
    sweep(vertices, count, work);
    moved = apply(vertices, work);
  }
  reset(vertices, count);
}

void HeadMesh::drawFlat() const {
  const size_t count = std::min<size_t>(vertexCount, vertices.size());
  const size_t faceTotal = std::min<size_t>(faceCount, faces.size());
  glColor3f(1.0f, 1.0f, 1.0f);
  glBegin(GL_TRIANGLES);
  for (size_t f = 0; f < faceTotal; ++f) {
    const HeadFace& face = faces[f];
    if (face.a >= count || face.b >= count || face.c >= count) continue;
    const HeadVertex& a = vertices[face.a];
    const HeadVertex& b = vertices[face.b];
    const HeadVertex& c = vertices[face.c];
    // Not normalised: GL_NORMALIZE is on for the whole program.
    Vec3 normal;
    normal.setFaceNormal(a.position.x, a.position.y, a.position.z, b.position.x, b.position.y,
                         b.position.z, c.position.x, c.position.y, c.position.z);
    glNormal3f(normal.x, normal.y, normal.z);
    for (const HeadVertex* corner : {&a, &b, &c}) {
      glTexCoord2f(corner->u, corner->v);
      glVertex3f(corner->position.x, corner->position.y, corner->position.z);
    }
  }
  glEnd();
}
