#include "gfx/head_mesh.h"

void HeadVertex::addNeighbour(uint16_t, float) {}
int HeadVertex::hasNeighbour(uint16_t) const {
  return 0;
}
bool HeadMesh::load(const char*) {
  return false;
}
bool HeadMesh::parse(const uint8_t*, size_t) {
  return false;
}
void HeadMesh::buildNeighbours() {}
void HeadMesh::clear() {}
