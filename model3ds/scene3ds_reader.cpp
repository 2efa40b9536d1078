#include "model3ds/scene3ds.h"

Material3ds::~Material3ds() {}
Object3ds::~Object3ds() {}
int Scene3ds::readChunks(ByteReader&) {
  return 0;
}
void Scene3ds::resolveMaterials() {}
void Scene3ds::clear() {
  objects.clear();
  materials.clear();
}
std::string readChunkString(ByteReader&) {
  return {};
}
