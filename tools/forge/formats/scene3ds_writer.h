// Writes a scene as a real 3DS file: versions and master scale, materials with colours and
// optional texture maps, triangle-mesh objects (points, texture vertices, mesh matrix, faces with
// material group and smoothing groups), one omni light, one camera and a keyframer section with a
// node for every object, the camera, its target and the light. Positions are given in the program's
// loaded space (y up, z towards the viewer); the writer stores them in the file's z-up axes so that
// the reader's change of axes gives them back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/forge/meshes/mesh.h"

namespace assetgen {

struct Colour24 {
  uint8_t r, g, b;
};

struct MaterialSpec {
  std::string name;
  Colour24 ambient{40, 36, 32};
  Colour24 diffuse{180, 170, 150};
  Colour24 specular{230, 230, 230};
  std::string mapName;  // empty: no texture map
  float uScale = 1.0f;
  float vScale = 1.0f;
  float uOffset = 0.0f;
  float vOffset = 0.0f;
};

struct ObjectSpec {
  std::string name;      // at most 10 characters, as 3DS tools expect
  std::string material;  // empty: no material group
  Mesh mesh;
};

struct SceneSpec {
  std::vector<MaterialSpec> materials;
  std::vector<ObjectSpec> objects;
  Vec3 lightPosition{0, 30, 30};
  Vec3 cameraPosition{0, 0, 25};
  Vec3 cameraTarget{0, 0, 0};
  float cameraLens = 50.0f;  // millimetres
};

// From the program's loaded space (x, y, z) to the file's (x, -z, y); the reader maps the file's
// (x, y, z) to (x, z, -y).
Vec3 toFileAxes(Vec3 loaded);

// The file bytes; empty with a reason when an object has more than 65535 vertices or faces, a
// face names a missing vertex, or an object names a material the scene does not have.
std::vector<uint8_t> encodeScene3ds(const SceneSpec& scene, std::string& error);

size_t triangleCount(const SceneSpec& scene);

}  // namespace assetgen
