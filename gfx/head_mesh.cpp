// Reading the head mesh file and building its neighbour lists. The lists keep the order the
// deformation was tuned with (faces in index order, corners a, b, c, newest first), found through a
// vertex-to-face incidence so that start-up does not pay one pass over all faces per vertex.
#include "gfx/head_mesh.h"

#include <limits>

#include "gfx/byte_reader.h"
#include "gfx/load_failure.h"
#include "platform/files.h"

void HeadVertex::addNeighbour(uint16_t index, float restLength) {
  HeadNeighbour* node = new HeadNeighbour;
  node->next = neighbours;
  node->index = index;
  node->restLength = restLength;
  neighbours = node;
}

int HeadVertex::hasNeighbour(uint16_t index) const {
  for (const HeadNeighbour* n = neighbours; n; n = n->next)
    if (n->index == index) return 1;
  return 0;
}

void HeadMesh::clear() {
  for (HeadVertex& v : vertices) {
    while (HeadNeighbour* n = v.neighbours) {
      v.neighbours = n->next;
      delete n;
    }
  }
  vertices.clear();
  faces.clear();
  vertexCount = 0;
  faceCount = 0;
}

bool HeadMesh::load(const char* fileName) {
  std::vector<uint8_t> bytes;
  bool ok = false;
  if (platform::readWholeFile(fileName, bytes)) {
    ok = parse(bytes.data(), bytes.size());
  } else {
    clear();
    failure_ = "cannot read the file";
  }
  if (!ok) reportLoadFailure(fileName, failure_);
  return ok;
}

namespace {

bool readVertices(ByteReader& in, std::vector<HeadVertex>& vertices) {
  for (HeadVertex& v : vertices)
    if (!in.readF32(v.position.x) || !in.readF32(v.position.y) || !in.readF32(v.position.z))
      return false;
  for (HeadVertex& v : vertices)
    if (!in.readF32(v.u) || !in.readF32(v.v)) return false;
  return true;
}

bool readFaces(ByteReader& in, std::vector<HeadFace>& faces, uint16_t vertexCount,
               std::string& why) {
  for (size_t i = 0; i < faces.size(); ++i) {
    HeadFace& f = faces[i];
    if (!in.readU16(f.a) || !in.readU16(f.b) || !in.readU16(f.c)) {
      why = "ends inside the " + std::to_string(faces.size()) + " faces (at face " +
            std::to_string(i) + ")";
      return false;
    }
    for (const uint16_t corner : {f.a, f.b, f.c}) {
      if (corner >= vertexCount) {
        why = "face " + std::to_string(i) + " names vertex " + std::to_string(corner) +
              ", at or above the vertex count " + std::to_string(vertexCount);
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool HeadMesh::parse(const uint8_t* data, size_t size) {
  clear();
  ByteReader in(data, data ? size : 0);
  uint16_t n = 0, m = 0;
  if (!in.readU16(n)) {
    failure_ = "ends inside the vertex count";
    return false;
  }
  std::vector<HeadVertex> newVertices(n);
  if (!readVertices(in, newVertices)) {
    failure_ = "ends inside the " + std::to_string(n) + " vertices";
    return false;
  }
  if (!in.readU16(m)) {
    failure_ = "ends inside the face count";
    return false;
  }
  std::vector<HeadFace> newFaces(m);
  if (!readFaces(in, newFaces, n, failure_)) return false;
  failure_.clear();
  // Anything after the last face is not part of the mesh.
  vertices = std::move(newVertices);
  faces = std::move(newFaces);
  vertexCount = n;
  faceCount = m;
  buildNeighbours();
  return true;
}

void HeadMesh::buildNeighbours() {
  const size_t vertexTotal = vertices.size();
  for (HeadVertex& v : vertices) {
    while (HeadNeighbour* node = v.neighbours) {
      v.neighbours = node->next;
      delete node;
    }
  }
  auto usable = [&](const HeadFace& f) {
    return f.a < vertexTotal && f.b < vertexTotal && f.c < vertexTotal;
  };

  // Incidence in compressed rows: the faces of vertex p are incident[first[p] .. first[p + 1]), in
  // ascending face order. A face that names p twice is listed once, as the face loop visits it
  // once.
  std::vector<uint32_t> first(vertexTotal + 1, 0);
  for (const HeadFace& f : faces) {
    if (!usable(f)) continue;
    ++first[f.a + 1];
    if (f.b != f.a) ++first[f.b + 1];
    if (f.c != f.a && f.c != f.b) ++first[f.c + 1];
  }
  for (size_t p = 0; p < vertexTotal; ++p) first[p + 1] += first[p];
  std::vector<uint32_t> incident(first[vertexTotal]);
  std::vector<uint32_t> fill(first.begin(), first.end() - 1);
  for (uint32_t fi = 0; fi < faces.size(); ++fi) {
    const HeadFace& f = faces[fi];
    if (!usable(f)) continue;
    incident[fill[f.a]++] = fi;
    if (f.b != f.a) incident[fill[f.b]++] = fi;
    if (f.c != f.a && f.c != f.b) incident[fill[f.c]++] = fi;
  }

  // seenBy[k] == p means k is already in p's list: the same answer as hasNeighbour without walking
  // the list, which matters for a vertex shared by very many faces.
  std::vector<uint32_t> seenBy(vertexTotal, std::numeric_limits<uint32_t>::max());
  for (uint32_t p = 0; p < vertexTotal; ++p) {
    HeadVertex& vp = vertices[p];
    seenBy[p] = p;  // never its own neighbour
    for (uint32_t i = first[p]; i < first[p + 1]; ++i) {
      const HeadFace& f = faces[incident[i]];
      for (uint16_t k : {f.a, f.b, f.c}) {
        if (seenBy[k] == p) continue;
        seenBy[k] = p;
        vp.addNeighbour(k, (vp.position - vertices[k].position).length());
      }
    }
  }
}
