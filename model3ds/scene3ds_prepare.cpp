#include "model3ds/scene3ds.h"

int Scene3ds::load(const char*, uint8_t) {
  return 0;
}
void Scene3ds::draw() const {}
void Material3ds::createTexture(uint16_t, uint16_t, uint8_t, uint32_t, const uint8_t*) {}
void Object3ds::applyTextureMap() {}
void Object3ds::computeNormals() {}
void Object3ds::buildDisplayList() {}
void Object3ds::draw() const {}
