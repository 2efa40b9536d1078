// The four forged 3DS sets read through Scene3ds::readChunks and, independently, through lib3ds:
// objects, counts and indices, texture coordinates, materials and map names, and the shape each
// camera needs (open in front of the face, the centre piece's radius, the throat's clear path).
#include <gtest/gtest.h>
#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/light.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "model3ds/scene3ds.h"
#include "support/forged_files.h"
#include "support/temp_dir.h"
#include "support/texture_stretch.h"

namespace {

const char* const kSets[] = {"c00.3ds", "c01.3ds", "c02.3ds", "c05.3ds"};

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<const Object3ds*> objectsOf(const Scene3ds& scene) {
  std::vector<const Object3ds*> out;
  for (auto* n = scene.objects.first(); n; n = n->next) out.push_back(n->element);
  std::reverse(out.begin(), out.end());  // file order
  return out;
}

template <typename F>
void forEachVertex(const Scene3ds& scene, F f) {
  for (const Object3ds* o : objectsOf(scene))
    for (const Vertex3ds& v : o->vertices) f(v.position);
}

class ForgedSets : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(forgedFiles().ok) << forgedFiles().error; }
  // Reads a set with our reader and links its materials.
  static bool read(Scene3ds& scene, const char* name) {
    const std::vector<uint8_t> bytes = readFile(forgedFiles().path(name));
    ByteReader reader(bytes.data(), bytes.size());
    if (!scene.readChunks(reader)) return false;
    scene.resolveMaterials();
    return true;
  }
};

SkinPoint skin(const Vertex3ds& v) {
  return {v.position, v.texCoord.u, v.texCoord.v};
}

// Every part is drawn with a picture from the pack, laid on without stretching it much.
TEST_F(ForgedSets, ReadBackWithValidMeshesAndMaterials) {
  const std::set<std::string> pictures = {"back01.tga", "czacha.tga",  "loading.tga", "mozg.tga",
                                          "s_down.tga", "s_end.tga",   "s_l.tga",     "s_left.tga",
                                          "s_p.tga",    "s_right.tga", "s_top.tga",   "skora.tga"};
  bool upperCaseMap = false;
  std::set<std::string> maps;
  for (const char* name : kSets) {
    Scene3ds scene;
    ASSERT_TRUE(read(scene, name)) << name;
    size_t faces = 0, meshes = 0;
    for (const Object3ds* o : objectsOf(scene)) {
      EXPECT_EQ(o->vertices.size(), o->vertexCount) << name << " " << o->name;
      EXPECT_EQ(o->faces.size(), o->faceCount) << name << " " << o->name;
      if (!o->faceCount) continue;  // the light and the camera
      ++meshes;
      faces += o->faceCount;
      EXPECT_EQ(o->hasTexCoords, 1) << name << " " << o->name;
      std::vector<float> stretch;
      for (const Face3ds& f : o->faces) {
        ASSERT_LT(std::max({f.a, f.b, f.c}), o->vertexCount) << name << " " << o->name;
        stretch.push_back(
            textureStretch(skin(o->vertices[f.a]), skin(o->vertices[f.b]), skin(o->vertices[f.c])));
      }
      std::sort(stretch.begin(), stretch.end());
      EXPECT_GT(stretch[stretch.size() / 20], 0.0f)
          << name << " " << o->name << ": no texture area";
      EXPECT_LT(stretch[stretch.size() / 2], 2.5f) << name << " " << o->name << ": stretched";
      ASSERT_EQ(o->hasMaterial, 1) << name << " " << o->name;
      ASSERT_TRUE(o->material->textureMap) << name << " " << o->name << ": flat, untextured";
      const std::string& map = o->material->textureMap->fileName;
      EXPECT_EQ(pictures.count(lower(map)), 1u) << name << " " << o->name << ": " << map;
      maps.insert(lower(map));
      upperCaseMap = upperCaseMap || map == "CZACHA.TGA";
    }
    EXPECT_GE(meshes, 3u) << name;
    EXPECT_GE(faces, 1000u) << name;
    EXPECT_LE(faces, 20000u) << name;
  }
  EXPECT_EQ(maps, (std::set<std::string>{"czacha.tga", "mozg.tga", "s_p.tga"}));
  EXPECT_TRUE(upperCaseMap);
}

TEST_F(ForgedSets, SetsAroundTheHeadLeaveTheFaceOpen) {
  for (const char* name : {"c00.3ds", "c01.3ds"}) {
    Scene3ds scene;
    ASSERT_TRUE(read(scene, name));
    float maxRadius = 0, minRadius = 1e9f;
    size_t inFront = 0;
    forEachVertex(scene, [&](Vec3 p) {
      maxRadius = std::max(maxRadius, p.length());
      minRadius = std::min(minRadius, p.length());
      // Within 70 degrees of +z around the y axis, at the height of the head.
      const float angle = std::atan2(std::fabs(p.x), p.z) * 57.29578f;
      if (angle < 70.0f && std::fabs(p.y) < 9.0f) ++inFront;
    });
    EXPECT_LT(maxRadius, 20.0f) << name;
    EXPECT_GT(minRadius, 7.5f) << name << ": reaches into the head";
    EXPECT_EQ(inFront, 0u) << name << ": something stands in front of the face";
  }
}

TEST_F(ForgedSets, CentrePieceAndThroatFitTheirCameras) {
  Scene3ds core;
  ASSERT_TRUE(read(core, "c02.3ds"));
  float radius = 0;
  forEachVertex(core, [&](Vec3 p) { radius = std::max(radius, p.length()); });
  EXPECT_GE(radius, 6.0f);
  EXPECT_LE(radius, 9.0f);

  Scene3ds throat;
  ASSERT_TRUE(read(throat, "c05.3ds"));
  size_t nearEnd = 0;
  float clearance = 1e9f;
  forEachVertex(throat, [&](Vec3 p) {
    const float fromPath = std::hypot(p.x, p.y - 4.0f);
    if (p.z >= 1.0f && p.z <= 17.0f) clearance = std::min(clearance, fromPath);
    if (p.z >= -2.0f && p.z <= 2.0f && fromPath < 6.0f) ++nearEnd;
  });
  EXPECT_GT(clearance, 1.5f) << "the eye's path from z 16.7 to 1.1 at height 4 must stay clear";
  EXPECT_GT(nearEnd, 500u) << "detail where the flight ends";
}

TEST_F(ForgedSets, Lib3dsReadsTheSameObjectsAndCounts) {
  for (const char* name : kSets) {
    Scene3ds scene;
    ASSERT_TRUE(read(scene, name));
    Lib3dsFile* file = lib3ds_file_load(forgedFiles().path(name).c_str());
    ASSERT_NE(file, nullptr) << name;
    size_t count = 0;
    for (Lib3dsCamera* c = file->cameras; c; c = c->next) ++count;
    for (Lib3dsLight* l = file->lights; l; l = l->next) ++count;
    std::vector<const Object3ds*> ours = objectsOf(scene);
    for (Lib3dsMesh* m = file->meshes; m; m = m->next) {
      ++count;
      auto it = std::find_if(ours.begin(), ours.end(),
                             [&](const Object3ds* o) { return o->name == m->name; });
      ASSERT_NE(it, ours.end()) << name << ": " << m->name;
      EXPECT_EQ(m->points, (*it)->vertexCount) << name << " " << m->name;
      EXPECT_EQ(m->texels, (*it)->vertexCount) << name << " " << m->name;
      EXPECT_EQ(m->faces, (*it)->faceCount) << name << " " << m->name;
    }
    EXPECT_EQ(count, ours.size()) << name;
    // The keyframer poses every object, the camera, its target and the light where the mesh
    // data puts them.
    lib3ds_file_eval(file, 0.0f);
    for (Lib3dsMesh* m = file->meshes; m; m = m->next)
      EXPECT_NE(lib3ds_file_node_by_name(file, m->name, LIB3DS_OBJECT_NODE), nullptr) << m->name;
    ASSERT_NE(file->cameras, nullptr) << name;
    ASSERT_NE(file->lights, nullptr) << name;
    const Lib3dsCamera* camera = file->cameras;
    const Lib3dsNode* eye = lib3ds_file_node_by_name(file, camera->name, LIB3DS_CAMERA_NODE);
    const Lib3dsNode* target = lib3ds_file_node_by_name(file, camera->name, LIB3DS_TARGET_NODE);
    const Lib3dsNode* light = lib3ds_file_node_by_name(file, file->lights->name, LIB3DS_LIGHT_NODE);
    ASSERT_TRUE(eye && target && light) << name;
    for (int i = 0; i < 3; ++i) {
      EXPECT_FLOAT_EQ(eye->data.camera.pos[i], camera->position[i]) << name;
      EXPECT_FLOAT_EQ(target->data.target.pos[i], camera->target[i]) << name;
      EXPECT_FLOAT_EQ(light->data.light.pos[i], file->lights->position[i]) << name;
    }
    lib3ds_file_free(file);
  }
}

// assimp validates the scene graph it builds from the keyframer: every mesh, camera and light
// needs its node. Its triangle count must be ours.
TEST_F(ForgedSets, AssimpValidatesEverySetWithOurTriangleCounts) {
  ASSERT_EQ(std::system("command -v assimp >/dev/null 2>&1"), 0)
      << "assimp is missing (Debian package assimp-utils)";
  for (const char* name : kSets) {
    Scene3ds scene;
    ASSERT_TRUE(read(scene, name));
    size_t faces = 0;
    for (const Object3ds* o : objectsOf(scene)) faces += o->faceCount;
    const std::string command = "assimp info '" + forgedFiles().path(name) + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << name << ":\n" << output;
    EXPECT_EQ(output.find("rror"), std::string::npos) << name << ":\n" << output;
    const size_t at = output.find("Faces:");
    ASSERT_NE(at, std::string::npos) << name << ":\n" << output;
    EXPECT_EQ(std::stoul(output.substr(at + 6)), faces) << name;
  }
}

}  // namespace
