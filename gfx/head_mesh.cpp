#include "gfx/head_mesh.h"

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

bool HeadMesh::load(const char*) {
  return false;
}
bool HeadMesh::parse(const uint8_t*, size_t) {
  return false;
}
void HeadMesh::buildNeighbours() {}
