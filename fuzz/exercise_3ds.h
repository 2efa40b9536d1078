// One input through the 3DS chunk reader, material resolution, texture-map application and
// normals (the display list needs GL and is left out), as the fuzz target and the regression
// replay both run it. Returns an empty string, or the first broken promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model3ds/scene3ds.h"

namespace fuzzcheck {

inline bool holdsMaterial(const Scene3ds& scene, const Material3ds* material) {
  for (auto* m = scene.materials.first(); m; m = m->next)
    if (m->element == material) return true;
  return false;
}

inline std::string checkObject(const Scene3ds& scene, const Object3ds& object) {
  if (object.vertices.size() != object.vertexCount || object.faces.size() != object.faceCount)
    return "an object's counts do not match its arrays";
  if ((object.material != nullptr) != (object.hasMaterial == 1))
    return "hasMaterial does not match the material";
  if (object.material) {
    if (!holdsMaterial(scene, object.material)) return "a material from outside the scene";
    if (!object.material->name || !object.materialName ||
        *object.material->name != *object.materialName)
      return "an object took a material of another name";
  }
  if (object.name.size() > 99 || (object.materialName && object.materialName->size() > 99))
    return "a name longer than 99 characters";
  return "";
}

inline std::string exercise3ds(const uint8_t* data, size_t size) {
  Scene3ds scene;
  ByteReader reader(data, size);
  const int read = scene.readChunks(reader);
  const bool magic = size >= 2 && data[0] == 0x4D && data[1] == 0x4D;
  if (read != (magic ? 1 : 0)) return "the result does not follow the first id";
  if (!magic && (scene.objects.first() || scene.materials.first()))
    return "a file without the magic id gave records";
  scene.resolveMaterials();
  int32_t objects = 0;
  for (auto* o = scene.objects.first(); o; o = o->next, ++objects) {
    Object3ds& object = *o->element;
    if (std::string problem = checkObject(scene, object); !problem.empty()) return problem;
    object.applyTextureMap();
    object.computeNormals();
    if (object.hasNormals != 1) return "normals not marked as computed";
  }
  if (objects != scene.objects.count) return "the object count does not match the list";
  return "";
}

}  // namespace fuzzcheck
