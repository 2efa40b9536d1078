// The CPU half of 3DS preparation: texture-map scale and offset, face and vertex normals. Scenes
// are built in memory; no GL context is needed.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "model3ds/scene3ds.h"

namespace {

Object3ds& addObject(Scene3ds& scene, const std::vector<Vec3>& positions,
                     const std::vector<Face3ds>& faces) {
  Object3ds& o = *scene.objects.add();
  o.vertexCount = uint16_t(positions.size());
  o.vertices.resize(positions.size());
  for (size_t i = 0; i < positions.size(); ++i) o.vertices[i].position = positions[i];
  o.faceCount = uint16_t(faces.size());
  o.faces = faces;
  return o;
}

Face3ds face(uint16_t a, uint16_t b, uint16_t c) {
  Face3ds f;
  f.a = a;
  f.b = b;
  f.c = c;
  return f;
}

// Exact per component (so -0 equals 0); `bitwise` also tells the zeros apart.
::testing::AssertionResult sameVec(Vec3 actual, Vec3 expected, bool bitwise = false) {
  const bool same =
      bitwise ? std::memcmp(&actual, &expected, sizeof(Vec3)) == 0
              : actual.x == expected.x && actual.y == expected.y && actual.z == expected.z;
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << actual.x << ", " << actual.y << ", " << actual.z << "), expected (" << expected.x
         << ", " << expected.y << ", " << expected.z << ")";
}

Material3ds& addMappedMaterial(Scene3ds& scene, float uScale, float vScale, float uOffset,
                               float vOffset) {
  Material3ds& m = *scene.materials.add();
  m.textureMap = std::make_unique<TextureMap3ds>();
  m.textureMap->uScale = uScale;
  m.textureMap->vScale = vScale;
  m.textureMap->uOffset = uOffset;
  m.textureMap->vOffset = vOffset;
  return m;
}

void giveTexCoord(Object3ds& o, float u, float v) {
  for (Vertex3ds& vertex : o.vertices) vertex.texCoord = {u, v};
  o.hasTexCoords = 1;
}

TEST(Scene3dsTextureMap, ScalesThenOffsetsOnlyWhenAMappedMaterialAndCoordinatesExist) {
  Scene3ds scene;
  Material3ds& mapped = addMappedMaterial(scene, 2.0f, 4.0f, 0.25f, 0.0f);
  Material3ds& unmapped = *scene.materials.add();

  Object3ds& withMap = addObject(scene, {{0, 0, 0}}, {});
  giveTexCoord(withMap, 0.5f, 0.25f);
  withMap.material = &mapped;
  withMap.hasMaterial = 1;
  withMap.applyTextureMap();
  EXPECT_EQ(withMap.vertices[0].texCoord.u, 1.25f);
  EXPECT_EQ(withMap.vertices[0].texCoord.v, 1.0f);

  Object3ds& noMaterial = addObject(scene, {{0, 0, 0}}, {});
  giveTexCoord(noMaterial, 0.5f, 0.25f);
  noMaterial.applyTextureMap();
  Object3ds& noMap = addObject(scene, {{0, 0, 0}}, {});
  giveTexCoord(noMap, 0.5f, 0.25f);
  noMap.material = &unmapped;
  noMap.hasMaterial = 1;
  noMap.applyTextureMap();
  for (const Object3ds* o : {&noMaterial, &noMap}) {
    EXPECT_EQ(o->vertices[0].texCoord.u, 0.5f);
    EXPECT_EQ(o->vertices[0].texCoord.v, 0.25f);
  }

  // Without coordinates from the file there is nothing to map.
  Object3ds& noCoords = addObject(scene, {{0, 0, 0}}, {});
  noCoords.material = &mapped;
  noCoords.hasMaterial = 1;
  noCoords.applyTextureMap();
  EXPECT_EQ(noCoords.vertices[0].texCoord.u, 0.0f);
  EXPECT_EQ(noCoords.vertices[0].texCoord.v, 0.0f);
}

TEST(Scene3dsNormals, FlatQuadGivesEveryCornerTheUnitNormalAndAnUnusedVertexZero) {
  Scene3ds scene;
  Object3ds& quad = addObject(scene, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {5, 5, 5}},
                              {face(0, 1, 2), face(0, 2, 3)});
  quad.computeNormals();
  EXPECT_EQ(quad.hasNormals, 1);
  for (int f = 0; f < 2; ++f) EXPECT_TRUE(sameVec(quad.faces[f].normal, {0, 0, 1})) << "face " << f;
  for (int v = 0; v < 4; ++v)
    EXPECT_TRUE(sameVec(quad.vertices[v].normal, {0, 0, 1})) << "vertex " << v;
  EXPECT_TRUE(sameVec(quad.vertices[4].normal, {0, 0, 0}));
}

TEST(Scene3dsNormals, CollinearAndOutOfRangeFacesAddNothing) {
  Scene3ds scene;
  // Face 0 is a sliver along x, face 1 points past the vertices, face 2 is a real triangle.
  Object3ds& o = addObject(scene, {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {0, 0, -1}},
                           {face(0, 1, 2), face(0, 1, 4), face(0, 1, 3)});
  o.computeNormals();
  EXPECT_TRUE(sameVec(o.faces[0].normal, {0, 0, 0}));
  EXPECT_TRUE(sameVec(o.faces[1].normal, {0, 0, 0}));
  EXPECT_TRUE(sameVec(o.faces[2].normal, {0, 1, 0}));
  EXPECT_TRUE(sameVec(o.vertices[0].normal, {0, 1, 0}));
  EXPECT_TRUE(sameVec(o.vertices[1].normal, {0, 1, 0}));
  EXPECT_TRUE(sameVec(o.vertices[2].normal, {0, 0, 0})) << "only the sliver uses vertex 2";
  EXPECT_TRUE(sameVec(o.vertices[3].normal, {0, 1, 0}));
}

TEST(Scene3dsNormals, ObjectWithoutFacesIsMarkedDone) {
  Scene3ds scene;
  Object3ds& light = addObject(scene, {}, {});
  light.computeNormals();
  EXPECT_EQ(light.hasNormals, 1);
}

// The quadratic scan as the format's users defined it: per vertex, every face in ascending order.
std::vector<Vec3> referenceVertexNormals(const Object3ds& o) {
  std::vector<Vec3> out;
  for (uint16_t v = 0; v < o.vertexCount; ++v) {
    Vec3 sum;
    sum.set(0, 0, 0);
    for (const Face3ds& f : o.faces) {
      if (f.a >= o.vertexCount || f.b >= o.vertexCount || f.c >= o.vertexCount) continue;
      if (f.a == v || f.b == v || f.c == v) sum = sum + f.normal;
    }
    sum.normalize();
    out.push_back(sum);
  }
  return out;
}

TEST(Scene3dsNormals, OnePassSumsMatchThePerVertexScanBitForBit) {
  // Float sums depend on their order, so a random mesh shows any reordering in the low bits.
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-10.0f, 10.0f);
  std::uniform_int_distribution<int> index(0, 39);
  std::vector<Vec3> positions;
  for (int i = 0; i < 40; ++i) positions.push_back({coord(rng), coord(rng), coord(rng)});
  std::vector<Face3ds> faces;
  for (int i = 0; i < 300; ++i)
    faces.push_back(face(uint16_t(index(rng)), uint16_t(index(rng)), uint16_t(index(rng))));
  faces.push_back(face(3, 3, 5));  // a vertex named twice
  faces.push_back(face(1, 2, 40));

  Scene3ds scene;
  Object3ds& o = addObject(scene, positions, faces);
  o.computeNormals();
  const auto expected = referenceVertexNormals(o);
  for (size_t v = 0; v < expected.size(); ++v)
    EXPECT_TRUE(sameVec(o.vertices[v].normal, expected[v], true)) << "vertex " << v;
}

}  // namespace
