// Our reader against an independent writer: scenes built and saved with lib3ds (which also writes
// the chunks we skip: matrices, smoothing groups, colours, the keyframer) must read back exactly.
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cstring>
#include <string>
#include <vector>

#include "model3ds/scene3ds.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

float coordinate(int mesh, int point, int axis) {
  return float(mesh * 10 + point) * 0.5f + float(axis) * 0.125f - 3.0f;
}

Lib3dsMesh* makeMesh(const char* name, int index, int pointCount, const char* materialName) {
  Lib3dsMesh* mesh = lib3ds_mesh_new(name);
  lib3ds_mesh_new_point_list(mesh, pointCount);
  lib3ds_mesh_new_texel_list(mesh, pointCount);
  for (int p = 0; p < pointCount; ++p) {
    for (int axis = 0; axis < 3; ++axis) mesh->pointL[p].pos[axis] = coordinate(index, p, axis);
    mesh->texelL[p][0] = float(p) / 8.0f;
    mesh->texelL[p][1] = 1.0f - float(p) / 16.0f;
  }
  const int faceCount = pointCount - 2;
  lib3ds_mesh_new_face_list(mesh, faceCount);
  for (int f = 0; f < faceCount; ++f) {
    Lib3dsFace& face = mesh->faceL[f];
    face.points[0] = Lib3dsWord(f);
    face.points[1] = Lib3dsWord(f + 1);
    face.points[2] = Lib3dsWord(f + 2);
    face.flags = Lib3dsWord(f % 8);
    face.smoothing = 1;
    std::strcpy(face.material, materialName);
  }
  return mesh;
}

Lib3dsMaterial* makeMaterial(const char* name, const char* mapName, float uScale, float vScale) {
  Lib3dsMaterial* material = lib3ds_material_new();
  std::strcpy(material->name, name);
  material->diffuse[0] = 0.5f;
  if (mapName) {
    std::strcpy(material->texture1_map.name, mapName);
    material->texture1_map.scale[0] = uScale;
    material->texture1_map.scale[1] = vScale;
  }
  return material;
}

// Names in file order, as lib3ds itself reads them back.
std::vector<std::string> lib3dsMeshOrder(const std::string& path) {
  std::vector<std::string> names;
  Lib3dsFile* file = lib3ds_file_load(path.c_str());
  if (!file) return names;
  for (Lib3dsMesh* m = file->meshes; m; m = m->next) names.push_back(m->name);
  lib3ds_file_free(file);
  return names;
}

}  // namespace

TEST(Lib3dsCrosscheck, MeshesMaterialsAndMapsReadBack) {
  TempDir dir;
  const std::string path = dir.file("scene.3ds");
  const int pointCounts[] = {4, 7, 3};
  const char* meshNames[] = {"alpha", "beta", "gamma"};
  const char* materialOf[] = {"bricks", "glass", "bricks"};
  {
    Lib3dsFile* file = lib3ds_file_new();
    lib3ds_file_insert_material(file, makeMaterial("bricks", "BRICKS.TGA", 2.0f, 0.5f));
    lib3ds_file_insert_material(file, makeMaterial("glass", nullptr, 1, 1));
    for (int i = 0; i < 3; ++i)
      lib3ds_file_insert_mesh(file, makeMesh(meshNames[i], i, pointCounts[i], materialOf[i]));
    ASSERT_TRUE(lib3ds_file_save(file, path.c_str()));
    lib3ds_file_free(file);
  }
  const std::vector<std::string> fileOrder = lib3dsMeshOrder(path);
  ASSERT_EQ(fileOrder.size(), 3u);

  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::readWholeFile(path.c_str(), bytes));
  Scene3ds scene;
  ByteReader reader(bytes.data(), bytes.size());
  ASSERT_EQ(scene.readChunks(reader), 1);
  scene.resolveMaterials();
  ASSERT_EQ(scene.objects.count, 3);

  // Newest first: our list is the file order reversed.
  size_t position = fileOrder.size();
  for (auto* n = scene.objects.first(); n; n = n->next) {
    const Object3ds& o = *n->element;
    ASSERT_GT(position, 0u);
    EXPECT_EQ(o.name, fileOrder[--position]);
    const int i = o.name == "alpha" ? 0 : o.name == "beta" ? 1 : 2;
    ASSERT_EQ(o.vertexCount, pointCounts[i]) << o.name;
    ASSERT_EQ(o.vertices.size(), size_t(pointCounts[i]));
    for (int p = 0; p < pointCounts[i]; ++p) {
      const Vertex3ds& v = o.vertices[p];
      EXPECT_EQ(v.position.x, coordinate(i, p, 0)) << o.name << " point " << p;
      EXPECT_EQ(v.position.y, coordinate(i, p, 2)) << o.name << " point " << p;
      EXPECT_EQ(v.position.z, -coordinate(i, p, 1)) << o.name << " point " << p;
      EXPECT_EQ(v.texCoord.u, float(p) / 8.0f);
      EXPECT_EQ(v.texCoord.v, 1.0f - float(p) / 16.0f);
    }
    EXPECT_EQ(o.hasTexCoords, 1);
    ASSERT_EQ(o.faceCount, pointCounts[i] - 2);
    for (int f = 0; f < o.faceCount; ++f) {
      EXPECT_EQ(o.faces[f].a, f);
      EXPECT_EQ(o.faces[f].b, f + 1);
      EXPECT_EQ(o.faces[f].c, f + 2);
      EXPECT_EQ(o.faces[f].flags & 0x7, f % 8) << "edge visibility bits";
    }
    ASSERT_TRUE(o.materialName.has_value());
    EXPECT_EQ(*o.materialName, materialOf[i]);
    ASSERT_EQ(o.hasMaterial, 1);
    EXPECT_EQ(*o.material->name, materialOf[i]);
  }

  ASSERT_EQ(scene.materials.count, 2);
  for (auto* n = scene.materials.first(); n; n = n->next) {
    const Material3ds& m = *n->element;
    ASSERT_TRUE(m.name.has_value());
    if (*m.name == "bricks") {
      ASSERT_TRUE(m.textureMap);
      EXPECT_EQ(m.textureMap->fileName, "BRICKS.TGA");
      EXPECT_EQ(m.textureMap->uScale, 2.0f);
      EXPECT_EQ(m.textureMap->vScale, 0.5f);
      EXPECT_EQ(m.textureMap->uOffset, 0.0f);
    } else {
      EXPECT_EQ(*m.name, "glass");
      EXPECT_FALSE(m.textureMap);
    }
  }
}
