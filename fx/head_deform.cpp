#include "gfx/head_mesh.h"

void HeadMesh::poke(uint32_t, Vec3) {}
void HeadMesh::drawFlat() const {}
