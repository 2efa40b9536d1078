// 3DS preparation and drawing on a real headless context: loading a scene file with its textures
// and folder change, texture creation, display lists, and the per-object texture switch and order.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "gfx/gl.h"
#include "model3ds/scene3ds.h"
#include "platform/files.h"
#include "support/chunk_writer.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

using namespace chunk3ds;

void material(ChunkWriter& c, const std::string& name, const std::string& mapName, float uScale) {
  c.begin(kMatEntry)
      .stringChunk(kMatName, name)
      .begin(kMatTexmap)
      .stringChunk(kMatMapname, mapName);
  c.floatChunk(kMatMapUScale, uScale).end().end();
}

// One triangle with texture coordinates (0.5, 0.5) everywhere, using `materialName` if not empty.
void triangle(ChunkWriter& c, const std::string& name, const std::string& materialName) {
  c.begin(kNamedObject).str(name).begin(kTriObject).points({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
  c.texVerts({{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}}).beginFaces({{0, 1, 2, 0}});
  if (!materialName.empty()) c.matGroup(materialName, {0});
  c.end().end().end();
}

std::vector<uint8_t> sceneFile() {
  ChunkWriter c;
  c.begin(kMain).begin(kMdata);
  material(c, "skin", "Skin.TGA", 2.0f);
  material(c, "ghost", "missing.tga", 1.0f);
  triangle(c, "skinned", "skin");
  triangle(c, "haunted", "ghost");
  triangle(c, "bare", "");
  return c.finish();
}

const Object3ds* findObject(const Scene3ds& scene, const std::string& name) {
  for (auto* n = scene.objects.first(); n; n = n->next)
    if (n->element->name == name) return n->element;
  return nullptr;
}

const Material3ds* findMaterial(const Scene3ds& scene, const std::string& name) {
  for (auto* n = scene.materials.first(); n; n = n->next)
    if (n->element->name == name) return n->element;
  return nullptr;
}

// The working directory as it was, put back when the test ends.
class KeepCurrentDirectory {
 public:
  KeepCurrentDirectory() : saved_(std::filesystem::current_path()) {}
  ~KeepCurrentDirectory() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

class Scene3dsGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    glViewport(0, 0, 800, 600);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

  GlTestContext gl;
  TempDir dir;
  KeepCurrentDirectory keep;
};

TEST_F(Scene3dsGlTest, LoadEntersTheSceneFolderAndTexturesWhatItCanRead) {
  std::filesystem::create_directory(dir.file("sub"));
  writeFile(dir.file("sub/scene.3ds"), sceneFile());
  writeTga(dir.file("sub/skin.tga"), 4, 4, solidPixels(4, 4, {0, 0, 255}));

  Scene3ds scene;
  ASSERT_EQ(scene.load(dir.file("sub/scene.3ds").c_str(), 1), 1);
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.file("sub")))
      << "the folder change lasts after the load";

  const Material3ds* skin = findMaterial(scene, "skin");
  const Material3ds* ghost = findMaterial(scene, "ghost");
  ASSERT_TRUE(skin && ghost);
  EXPECT_NE(skin->texture, 0u) << "found under another letter case";
  EXPECT_TRUE(glIsTexture(skin->texture));
  EXPECT_EQ(ghost->texture, 0u);

  const Object3ds* skinned = findObject(scene, "skinned");
  ASSERT_TRUE(skinned);
  EXPECT_EQ(skinned->vertices[0].texCoord.u, 1.0f) << "the map's u scale of 2 applied";
  EXPECT_EQ(skinned->vertices[0].texCoord.v, 0.5f);
  const Object3ds* bare = findObject(scene, "bare");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->vertices[0].texCoord.u, 0.5f);
  for (auto* n = scene.objects.first(); n; n = n->next) {
    EXPECT_EQ(n->element->hasNormals, 1) << n->element->name;
    EXPECT_TRUE(glIsList(n->element->displayList)) << n->element->name;
  }
}

TEST_F(Scene3dsGlTest, MissingFilesOtherFormatsAndPlainNamesLeaveTheFolderAlone) {
  dir.enter();
  const auto before = std::filesystem::current_path();
  Scene3ds missing;
  EXPECT_EQ(missing.load("nowhere/scene.3ds", 1), 0);
  EXPECT_EQ(std::filesystem::current_path(), before);

  writeFile(dir.file("scene.3ds"), sceneFile());
  Scene3ds otherFormat;
  EXPECT_EQ(otherFormat.load("scene.3ds", 0), 1);
  EXPECT_EQ(otherFormat.objects.count, 0);
  EXPECT_EQ(otherFormat.materials.count, 0);

  Scene3ds plain;
  EXPECT_EQ(plain.load("scene.3ds", 1), 1);
  EXPECT_EQ(plain.objects.count, 3);
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(Scene3dsGlTest, CreateTextureUploadsTightRowsAndLeavesTheAlignment) {
  // Rows of 9 bytes: a 4-byte alignment would read past the buffer and shear the rows.
  const uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  Material3ds m;
  m.createTexture(3, 2, 24, GL_RGB, rgb);
  ASSERT_NE(m.texture, 0u);
  GLint bound = 0, alignment = 0, minFilter = 0, magFilter = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(GLuint(bound), m.texture);
  EXPECT_EQ(alignment, 4);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
  uint8_t back[18] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back);
  EXPECT_EQ(std::memcmp(back, rgb, sizeof rgb), 0);
}

// A triangle that covers the whole viewport under identity matrices.
Object3ds& addCoveringTriangle(Scene3ds& scene, Material3ds* material) {
  Object3ds& o = *scene.objects.add();
  o.vertexCount = 3;
  o.vertices.resize(3);
  o.vertices[0].position = {-1, -1, 0};
  o.vertices[1].position = {3, -1, 0};
  o.vertices[2].position = {-1, 3, 0};
  for (int i = 0; i < 3; ++i) o.vertices[i].texCoord = {0.5f, float(i) / 4};
  o.hasTexCoords = 1;
  o.faceCount = 1;
  o.faces.resize(1);
  o.faces[0].a = 0;
  o.faces[0].b = 1;
  o.faces[0].c = 2;
  o.material = material;
  o.hasMaterial = material ? 1 : 0;
  o.computeNormals();
  o.buildDisplayList();
  return o;
}

Material3ds& addColouredMaterial(Scene3ds& scene, uint8_t r, uint8_t g, uint8_t b) {
  Material3ds& m = *scene.materials.add();
  const uint8_t rgb[12] = {r, g, b, r, g, b, r, g, b, r, g, b};
  m.createTexture(2, 2, 24, GL_RGB, rgb);
  return m;
}

TEST_F(Scene3dsGlTest, ObjectsDrawInReverseFileOrderEachWithItsOwnTexture) {
  Scene3ds scene;
  Material3ds& red = addColouredMaterial(scene, 255, 0, 0);
  Material3ds& green = addColouredMaterial(scene, 0, 255, 0);
  addCoveringTriangle(scene, &red);    // first in the file: drawn last
  addCoveringTriangle(scene, &green);  // drawn first
  glColor3f(1, 1, 1);
  glDisable(GL_TEXTURE_2D);
  scene.draw();
  const auto p = gl.pixel(400, 300);
  EXPECT_EQ(p.r, 255);
  EXPECT_EQ(p.g, 0);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), red.texture);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Scene3dsGlTest, ObjectWithoutMaterialDrawsUntexturedAndAMissingTextureBindsZero) {
  Scene3ds scene;
  Material3ds& red = addColouredMaterial(scene, 255, 0, 0);
  addCoveringTriangle(scene, nullptr);
  glColor3f(0, 0, 1);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, red.texture);
  scene.draw();
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  auto p = gl.pixel(400, 300);
  EXPECT_EQ(p.r, 0);
  EXPECT_EQ(p.b, 255) << "the current colour, not the bound red texture";

  Scene3ds unreadable;
  Material3ds& empty = *unreadable.materials.add();
  addCoveringTriangle(unreadable, &empty);
  glBindTexture(GL_TEXTURE_2D, red.texture);
  unreadable.draw();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
}

TEST_F(Scene3dsGlTest, EmptySceneDrawsNothingAndTouchesNoState) {
  Scene3ds scene;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  scene.draw();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  const auto frame = gl.frame();
  EXPECT_EQ(std::count(frame.begin(), frame.end(), 0), long(frame.size()));
}

TEST_F(Scene3dsGlTest, DisplayListCarriesNormalsAndCoordinatesAndSkipsBrokenFaces) {
  Scene3ds scene;
  Object3ds& o = addCoveringTriangle(scene, nullptr);
  glNormal3f(1, 0, 0);
  glTexCoord2f(9, 9);
  o.draw();
  GLfloat normal[3] = {}, coord[4] = {};
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coord);
  EXPECT_EQ(normal[2], 1.0f) << "the last corner's normal";
  EXPECT_EQ(coord[0], 0.5f);
  EXPECT_EQ(coord[1], 0.5f) << "the last corner is c";

  // Only the lower-left half is a valid face; the other names a vertex that does not exist.
  Scene3ds broken;
  Object3ds& half = *broken.objects.add();
  half.vertexCount = 3;
  half.vertices.resize(3);
  half.vertices[0].position = {-1, -1, 0};
  half.vertices[1].position = {1, -1, 0};
  half.vertices[2].position = {-1, 1, 0};
  half.faceCount = 2;
  half.faces.resize(2);
  half.faces[0].c = 9;
  half.faces[1].b = 1;
  half.faces[1].c = 2;
  half.computeNormals();
  half.buildDisplayList();
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1, 1, 1);
  broken.draw();
  EXPECT_EQ(gl.pixel(100, 100).r, 255);
  EXPECT_EQ(gl.pixel(700, 500).r, 0);

  Scene3ds faceless;
  Object3ds& light = *faceless.objects.add();
  light.computeNormals();
  light.buildDisplayList();
  EXPECT_TRUE(glIsList(light.displayList)) << "an empty triangle batch, still a list";
}

}  // namespace
