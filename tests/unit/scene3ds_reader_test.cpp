// The 3DS chunk reader on files built by ChunkWriter: the flat chunk stream, the axis change, list
// order, material resolution, and files with bad lengths, truncated payloads and long strings.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model3ds/scene3ds.h"
#include "support/chunk_writer.h"

using namespace chunk3ds;

namespace {

int readInto(Scene3ds& scene, const std::vector<uint8_t>& bytes) {
  ByteReader reader(bytes.data(), bytes.size());
  return scene.readChunks(reader);
}

template <typename T>
std::vector<T*> inOrder(const ElementList<T>& list) {
  std::vector<T*> out;
  for (auto* n = list.first(); n; n = n->next) out.push_back(n->element);
  return out;
}

std::vector<std::string> objectNames(const Scene3ds& scene) {
  std::vector<std::string> names;
  for (Object3ds* o : inOrder(scene.objects)) names.push_back(o->name);
  return names;
}

// A triangle mesh object with its points and faces; leaves NAMED_OBJECT and N_TRI_OBJECT open.
ChunkWriter& beginMesh(ChunkWriter& w, const std::string& name, const std::vector<Point3>& points,
                       const std::vector<Face4>& faces) {
  w.begin(kNamedObject).str(name).begin(kTriObject).points(points);
  return w.beginFaces(faces);
}

ChunkWriter& material(ChunkWriter& w, const std::string& name) {
  return w.begin(kMatEntry).stringChunk(kMatName, name).end();
}

const std::vector<Point3> kTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
const std::vector<Face4> kOneFace = {{0, 1, 2, 7}};

}  // namespace

TEST(Scene3dsReader, MagicDecidesWhetherAnythingIsRead) {
  Scene3ds scene;
  EXPECT_EQ(readInto(scene, {}), 0);
  EXPECT_EQ(readInto(scene, {0x4D}), 0);
  ChunkWriter notMagic;
  notMagic.begin(kMdata).begin(kNamedObject).str("x").finish();
  EXPECT_EQ(readInto(scene, notMagic.bytes()), 0);
  EXPECT_NE(scene.failure().find("no M3DMAGIC"), std::string::npos) << scene.failure();
  EXPECT_EQ(scene.objects.count, 0);

  EXPECT_EQ(readInto(scene, {0x4D, 0x4D, 6, 0, 0, 0}), 1);
  EXPECT_EQ(scene.failure(), "") << "read to its end";
  EXPECT_EQ(readInto(scene, {0x4D, 0x4D}), 1);
  EXPECT_EQ(scene.failure(), "the file ends inside the main chunk's header");
  EXPECT_EQ(readInto(scene, {0x4D, 0x4D, 6, 0}), 1);
  EXPECT_EQ(scene.objects.count, 0);
  EXPECT_EQ(scene.materials.count, 0);
}

TEST(Scene3dsReader, PositionsChangeAxesAndFacesAreKeptAsRead) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  beginMesh(w, "box", {{1, 2, 3}, {-4.5f, 0.25f, 8}}, {{0, 1, 9, 0xBEEF}, {1, 1, 0, 0}});
  Scene3ds scene;
  ASSERT_EQ(readInto(scene, w.finish()), 1);
  ASSERT_EQ(scene.objects.count, 1);
  const Object3ds& o = *scene.objects.first()->element;
  EXPECT_EQ(o.name, "box");
  ASSERT_EQ(o.vertexCount, 2);
  ASSERT_EQ(o.vertices.size(), 2u);
  EXPECT_EQ(o.vertices[0].position.x, 1.0f);
  EXPECT_EQ(o.vertices[0].position.y, 3.0f);
  EXPECT_EQ(o.vertices[0].position.z, -2.0f);
  EXPECT_EQ(o.vertices[1].position.x, -4.5f);
  EXPECT_EQ(o.vertices[1].position.y, 8.0f);
  EXPECT_EQ(o.vertices[1].position.z, -0.25f);
  ASSERT_EQ(o.faceCount, 2);
  ASSERT_EQ(o.faces.size(), 2u);
  // An index past the vertices stays: preparation is the step that refuses to follow it.
  EXPECT_EQ(o.faces[0].c, 9);
  EXPECT_EQ(o.faces[0].flags, 0xBEEF);
  EXPECT_EQ(o.faces[1].a, 1);
  EXPECT_EQ(o.hasTexCoords, 0);
  EXPECT_FALSE(o.materialName.has_value());
  EXPECT_EQ(o.hasMaterial, 0);
}

TEST(Scene3dsReader, ListsRunNewestFirstAndASecondReadAdds) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  material(w, "m1");
  material(w, "m2");
  w.begin(kNamedObject).str("first").end();
  w.begin(kNamedObject).str("second").end();
  const std::vector<uint8_t> file = w.finish();
  Scene3ds scene;
  readInto(scene, file);
  EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"second", "first"}));
  auto materials = inOrder(scene.materials);
  ASSERT_EQ(materials.size(), 2u);
  EXPECT_EQ(*materials[0]->name, "m2");
  EXPECT_EQ(*materials[1]->name, "m1");

  readInto(scene, file);
  EXPECT_EQ(scene.objects.count, 4);
  EXPECT_EQ(scene.materials.count, 4);
  scene.clear();
  EXPECT_EQ(scene.objects.count, 0);
  EXPECT_EQ(scene.objects.first(), nullptr);
  EXPECT_EQ(scene.materials.count, 0);
}

TEST(Scene3dsReader, ContainersAreReadAsAFlatStream) {
  // Wrong container lengths do not matter, and chunks after the main chunk's end are still read.
  ChunkWriter w;
  w.header(kMain, 6).header(kMdata, 0);
  w.header(kNamedObject, 1).str("a").header(kTriObject, 0xFFFFFFFF).points(kTriangle);
  w.begin(kNamedObject).str("b").end();
  Scene3ds scene;
  ASSERT_EQ(readInto(scene, w.finish()), 1);
  EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(scene.objects.first()->next->element->vertexCount, 3);
}

TEST(Scene3dsReader, SkippedChunksTakeTheirContentsWithThem) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  // A second M3DMAGIC is an unknown chunk here: the object inside it is never seen.
  w.begin(kMain).begin(kNamedObject).str("hidden").end().end();
  // A light object: its name is read, the light chunk with a point array inside is not.
  w.begin(kNamedObject)
      .str("lamp")
      .begin(kDirectLight)
      .f32(1)
      .f32(2)
      .f32(3)
      .points(kTriangle)
      .end()
      .end();
  // Only the primary texture map is read; a bump map's name and scale vanish with it.
  w.begin(kMatEntry).stringChunk(kMatName, "stone");
  w.begin(kMatDiffuse).stringChunk(kMatName, "not-a-name").end();
  w.begin(kMatBumpmap).stringChunk(kMatMapname, "bump.tga").floatChunk(kMatMapUScale, 9).end();
  w.begin(kMatTexmap).stringChunk(kMatMapname, "stone.tga").end();
  Scene3ds scene;
  readInto(scene, w.finish());
  EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"lamp"}));
  const Object3ds& lamp = *scene.objects.first()->element;
  EXPECT_EQ(lamp.vertexCount, 0);
  EXPECT_TRUE(lamp.vertices.empty());
  EXPECT_EQ(lamp.faceCount, 0);
  ASSERT_EQ(scene.materials.count, 1);
  const Material3ds& stone = *scene.materials.first()->element;
  EXPECT_EQ(*stone.name, "stone");
  ASSERT_TRUE(stone.textureMap);
  EXPECT_EQ(stone.textureMap->fileName, "stone.tga");
  EXPECT_EQ(stone.textureMap->uScale, 1.0f);
}

TEST(Scene3dsReader, TextureMapDefaultsAndParameters) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kMatEntry).stringChunk(kMatName, "plain").end();
  w.begin(kMatEntry).stringChunk(kMatName, "bare").begin(kMatTexmap).end().end();
  w.begin(kMatEntry).stringChunk(kMatName, "full").begin(kMatTexmap);
  w.stringChunk(kMatMapname, "wood.tga").floatChunk(kMatMapUScale, 2).floatChunk(kMatMapVScale, 4);
  w.floatChunk(kMatMapUOffset, 0.25f).floatChunk(kMatMapVOffset, -0.5f).floatChunk(kMatMapAng, 30);
  Scene3ds scene;
  readInto(scene, w.finish());
  auto m = inOrder(scene.materials);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_FALSE(m[2]->textureMap);
  ASSERT_TRUE(m[1]->textureMap);
  EXPECT_EQ(m[1]->textureMap->fileName, "");
  EXPECT_EQ(m[1]->textureMap->uScale, 1.0f);
  EXPECT_EQ(m[1]->textureMap->vScale, 1.0f);
  EXPECT_EQ(m[1]->textureMap->uOffset, 0.0f);
  EXPECT_EQ(m[1]->textureMap->vOffset, 0.0f);
  const TextureMap3ds& full = *m[0]->textureMap;
  EXPECT_EQ(full.fileName, "wood.tga");
  EXPECT_EQ(full.uScale, 2.0f);
  EXPECT_EQ(full.vScale, 4.0f);
  EXPECT_EQ(full.uOffset, 0.25f);
  EXPECT_EQ(full.vOffset, -0.5f);
  EXPECT_EQ(full.angle, 30.0f);
}

TEST(Scene3dsReader, TexVertsFollowTheVerticesNotTheirCount) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kNamedObject).str("quad").begin(kTriObject).points(kTriangle);
  w.texVerts({{0.5f, 0.25f}, {1, 0}, {0, 1}}, 1);
  w.begin(kNamedObject).str("after").end();
  Scene3ds scene;
  readInto(scene, w.finish());
  EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"after", "quad"}));
  const Object3ds& quad = *scene.objects.first()->next->element;
  EXPECT_EQ(quad.hasTexCoords, 1);
  EXPECT_EQ(quad.vertices[0].texCoord.u, 0.5f);
  EXPECT_EQ(quad.vertices[0].texCoord.v, 0.25f);
  EXPECT_EQ(quad.vertices[2].texCoord.v, 1.0f);
}

TEST(Scene3dsReader, ASecondArrayReplacesTheFirst) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kNamedObject)
      .str("o")
      .begin(kTriObject)
      .points(kTriangle)
      .texVerts({{1, 1}, {1, 1}, {1, 1}});
  w.beginFaces(kOneFace).end().beginFaces({{0, 0, 0, 0}, {1, 1, 1, 1}}).end();
  w.points({{5, 6, 7}});
  Scene3ds scene;
  readInto(scene, w.finish());
  const Object3ds& o = *scene.objects.first()->element;
  ASSERT_EQ(o.vertexCount, 1);
  ASSERT_EQ(o.vertices.size(), 1u);
  EXPECT_EQ(o.vertices[0].position.x, 5.0f);
  // The new vertices were given no coordinates.
  EXPECT_EQ(o.hasTexCoords, 0);
  EXPECT_EQ(o.vertices[0].texCoord.u, 0.0f);
  ASSERT_EQ(o.faceCount, 2);
  EXPECT_EQ(o.faces[1].flags, 1);
}

TEST(Scene3dsReader, MaterialResolution) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kMatEntry).end();  // no MAT_NAME
  material(w, "gold");
  material(w, "gold");
  material(w, "");
  beginMesh(w, "twoGroups", kTriangle, kOneFace).matGroup("silver", {0}).matGroup("gold", {0});
  w.end().end().end();
  beginMesh(w, "unknown", kTriangle, kOneFace).matGroup("Gold", {0}).end().end().end();
  beginMesh(w, "none", kTriangle, kOneFace).end().end().end();
  beginMesh(w, "emptyName", kTriangle, kOneFace).matGroup("", {}).end().end().end();
  Scene3ds scene;
  readInto(scene, w.finish());
  scene.resolveMaterials();
  auto o = inOrder(scene.objects);
  auto m = inOrder(scene.materials);
  ASSERT_EQ(o.size(), 4u);
  ASSERT_EQ(m.size(), 4u);
  EXPECT_FALSE(m[3]->name.has_value());
  // An empty name is a name: it is stored, and it matches.
  ASSERT_TRUE(m[0]->name.has_value());
  EXPECT_EQ(*m[0]->name, "");
  ASSERT_TRUE(o[0]->materialName.has_value());
  EXPECT_EQ(o[0]->material, m[0]);

  EXPECT_EQ(o[1]->hasMaterial, 0);
  EXPECT_FALSE(o[1]->materialName.has_value());
  EXPECT_EQ(*o[2]->materialName, "Gold");
  EXPECT_EQ(o[2]->material, nullptr) << "names compare case-sensitively";
  // The last group decides, and of two "gold" materials the first in the file wins.
  EXPECT_EQ(*o[3]->materialName, "gold");
  EXPECT_EQ(o[3]->hasMaterial, 1);
  EXPECT_EQ(o[3]->material, m[2]);
}

TEST(Scene3dsReader, ChunksWithoutTheirRecordAreSkippedWhole) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.points(kTriangle).texVerts({{1, 2}}).matGroup("x", {1, 2, 3}).beginFaces(kOneFace).end();
  w.stringChunk(kMatName, "orphan").begin(kMatTexmap).stringChunk(kMatMapname, "lost.tga").end();
  w.begin(kMatEntry).floatChunk(kMatMapUScale, 3).stringChunk(kMatMapname, "lost.tga");
  w.stringChunk(kMatName, "kept").end();
  w.begin(kNamedObject).str("o").end();
  Scene3ds scene;
  ASSERT_EQ(readInto(scene, w.finish()), 1);
  EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"o"}));
  EXPECT_EQ(scene.objects.first()->element->vertexCount, 0);
  ASSERT_EQ(scene.materials.count, 1);
  const Material3ds& m = *scene.materials.first()->element;
  EXPECT_EQ(*m.name, "kept");
  EXPECT_FALSE(m.textureMap);
}

TEST(Scene3dsReader, BadLengthsOfSkippedChunksEndTheRead) {
  for (uint32_t length : {0u, 1u, 5u}) {
    ChunkWriter w;
    w.begin(kMain).begin(kNamedObject).str("a").end();
    w.header(kDirectLight, length).u32(0);
    w.begin(kNamedObject).str("b").end();
    Scene3ds scene;
    EXPECT_EQ(readInto(scene, w.finish()), 1);
    EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"a"})) << "length " << length;
    EXPECT_NE(
        scene.failure().find("has length " + std::to_string(length) + ", less than its own header"),
        std::string::npos)
        << scene.failure();
  }
  ChunkWriter past;
  past.begin(kMain).begin(kNamedObject).str("a").end();
  past.header(kDirectLight, 1000).begin(kNamedObject).str("b").end();
  Scene3ds scene;
  EXPECT_EQ(readInto(scene, past.finish()), 1);
  EXPECT_EQ(objectNames(scene), (std::vector<std::string>{"a"}));
  EXPECT_EQ(scene.failure(), "chunk 0x4600 at byte 14 has length 1000, but only 14 bytes are left");

  // A length that ends exactly at the end of the data is fine.
  ChunkWriter exact;
  exact.begin(kMain).begin(kNamedObject).str("a").end().begin(kDirectLight).u32(7);
  Scene3ds exactScene;
  readInto(exactScene, exact.finish());
  EXPECT_EQ(objectNames(exactScene), (std::vector<std::string>{"a"}));
  EXPECT_EQ(exactScene.failure(), "");
}

TEST(Scene3dsReader, TruncatedArraysClaimOnlyWhatWasRead) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kNamedObject).str("cut").begin(kTriObject).points(kTriangle);
  std::vector<uint8_t> file = w.finish();
  file.resize(file.size() - 5);  // the third point loses its last bytes
  Scene3ds scene;
  EXPECT_EQ(readInto(scene, file), 1);
  const Object3ds& o = *scene.objects.first()->element;
  EXPECT_EQ(o.vertexCount, 2);
  EXPECT_EQ(o.vertices.size(), 2u);
  EXPECT_EQ(o.vertices[1].position.x, 1.0f);
  EXPECT_EQ(scene.failure().rfind("the file ends inside the chunk 0x4110 at", 0), 0u)
      << scene.failure();

  ChunkWriter f;
  f.begin(kMain).begin(kNamedObject).str("faces").points(kTriangle);
  f.beginFaces({{0, 1, 2, 0}, {2, 1, 0, 0}});
  std::vector<uint8_t> faceFile = f.finish();
  faceFile.resize(faceFile.size() - 1);
  Scene3ds faceScene;
  readInto(faceScene, faceFile);
  EXPECT_EQ(faceScene.objects.first()->element->faceCount, 1);
  EXPECT_EQ(faceScene.objects.first()->element->faces.size(), 1u);

  ChunkWriter t;
  t.begin(kMain).begin(kNamedObject).str("uv").points(kTriangle).texVerts({{1, 1}, {2, 2}, {3, 3}});
  std::vector<uint8_t> uvFile = t.finish();
  uvFile.resize(uvFile.size() - 4);
  Scene3ds uvScene;
  readInto(uvScene, uvFile);
  EXPECT_EQ(uvScene.objects.first()->element->hasTexCoords, 0);
  EXPECT_EQ(uvScene.objects.first()->element->vertexCount, 3);
}

TEST(Scene3dsReader, TruncatedScalarsLeaveTheDefaults) {
  ChunkWriter w;
  w.begin(kMain).begin(kMatEntry).begin(kMatTexmap).floatChunk(kMatMapVScale, 3);
  w.floatChunk(kMatMapUScale, 5);
  std::vector<uint8_t> file = w.finish();
  file.resize(file.size() - 2);
  Scene3ds scene;
  EXPECT_EQ(readInto(scene, file), 1);
  const TextureMap3ds& map = *scene.materials.first()->element->textureMap;
  EXPECT_EQ(map.vScale, 3.0f);
  EXPECT_EQ(map.uScale, 1.0f);
}

TEST(Scene3dsReader, EveryTruncationReadsSafely) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kMatEntry).stringChunk(kMatName, "m").begin(kMatTexmap).stringChunk(kMatMapname, "t.tga");
  w.floatChunk(kMatMapUScale, 2).end().end();
  beginMesh(w, "mesh", kTriangle, kOneFace).matGroup("m", {0}).end();
  w.texVerts({{0, 0}, {1, 0}, {0, 1}});
  const std::vector<uint8_t> full = w.finish();
  for (size_t size = 0; size <= full.size(); ++size) {
    std::vector<uint8_t> part(full.begin(), full.begin() + size);
    Scene3ds scene;
    readInto(scene, part);
    scene.resolveMaterials();
    for (Object3ds* o : inOrder(scene.objects)) {
      EXPECT_EQ(o->vertexCount, o->vertices.size()) << "size " << size;
      EXPECT_EQ(o->faceCount, o->faces.size()) << "size " << size;
      if (size < full.size()) {
        EXPECT_EQ(o->hasTexCoords, 0) << "size " << size;
      }
    }
  }
  Scene3ds whole;
  readInto(whole, full);
  whole.resolveMaterials();
  EXPECT_EQ(whole.objects.first()->element->hasTexCoords, 1);
  EXPECT_EQ(whole.objects.first()->element->hasMaterial, 1);
}

TEST(Scene3dsReader, CorruptedBytesReadSafely) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kMatEntry).stringChunk(kMatName, "m").begin(kMatTexmap).floatChunk(kMatMapUScale, 2);
  w.end().end();
  beginMesh(w, "mesh", kTriangle, kOneFace).matGroup("m", {0}).end();
  w.texVerts({{0, 0}, {1, 0}, {0, 1}}).end().end();
  w.begin(kDirectLight).f32(1).end();
  const std::vector<uint8_t> full = w.finish();
  std::mt19937 random(1234);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes = full;
    const int flips = 1 + int(random() % 4);
    for (int i = 0; i < flips; ++i) bytes[2 + random() % (bytes.size() - 2)] = uint8_t(random());
    Scene3ds scene;
    EXPECT_EQ(readInto(scene, bytes), 1);
    scene.resolveMaterials();
    for (Object3ds* o : inOrder(scene.objects)) {
      ASSERT_EQ(o->vertexCount, o->vertices.size()) << "round " << round;
      ASSERT_EQ(o->faceCount, o->faces.size()) << "round " << round;
      ASSERT_LE(o->name.size(), 99u);
    }
  }
}

TEST(Scene3dsReader, LongAndUnterminatedStrings) {
  const std::string longName(150, 'n');
  ChunkWriter w;
  w.begin(kMain).begin(kNamedObject).str(longName).points(kTriangle).end();
  w.begin(kNamedObject).str("tail");
  std::vector<uint8_t> file = w.finish();
  file.pop_back();  // the last name loses its terminator
  Scene3ds scene;
  readInto(scene, file);
  auto o = inOrder(scene.objects);
  ASSERT_EQ(o.size(), 2u);
  EXPECT_EQ(o[0]->name, "tail");
  EXPECT_EQ(o[1]->name, std::string(99, 'n'));
  EXPECT_EQ(o[1]->vertexCount, 3) << "the excess of the name is consumed";
}

TEST(Scene3dsReader, ReadChunkStringBoundaries) {
  const std::string exact(99, 'x');
  std::vector<uint8_t> bytes(exact.begin(), exact.end());
  bytes.push_back(0);
  bytes.insert(bytes.end(), {'a', 'b', 0, 0, 'c'});
  ByteReader reader(bytes.data(), bytes.size());
  EXPECT_EQ(readChunkString(reader), exact);
  EXPECT_EQ(reader.position(), 100u);
  EXPECT_EQ(readChunkString(reader), "ab");
  EXPECT_EQ(readChunkString(reader), "");
  EXPECT_EQ(reader.position(), 104u);
  EXPECT_EQ(readChunkString(reader), "c");
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(readChunkString(reader), "");
}
