// Texture names inside a scene file come from whoever made the pack: a scene may texture itself
// from its own folder and the folders below it, and never read a picture by an absolute name or
// one that climbs out with "..".
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model3ds/scene3ds.h"
#include "support/chunk_writer.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> sceneNaming(const std::vector<std::string>& mapNames) {
  ChunkWriter w;
  w.begin(chunk3ds::kMain).begin(chunk3ds::kMdata);
  for (const std::string& name : mapNames) {
    w.begin(chunk3ds::kMatEntry).stringChunk(chunk3ds::kMatName, name);
    w.begin(chunk3ds::kMatTexmap).stringChunk(chunk3ds::kMatMapname, name).end().end();
  }
  return w.finish();
}

uint32_t textureOf(const Scene3ds& scene, const std::string& name) {
  for (auto* n = scene.materials.first(); n; n = n->next)
    if (n->element->name == name) return n->element->texture;
  ADD_FAILURE() << "no material " << name;
  return 0;
}

TEST(Scene3dsTextureNames, OnlyTheScenesOwnFolderAndBelowAreRead) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  TempDir dir;
  const fs::path saved = fs::current_path();
  fs::create_directories(dir.file("scene/tex"));
  const std::vector<uint8_t> red = solidPixels(4, 4, {0, 0, 255});
  for (const char* picture : {"scene/here.tga", "scene/tex/below.tga", "outside.tga"})
    writeTga(dir.file(picture), 4, 4, red);
  const std::string absolute = fs::absolute(dir.file("outside.tga")).string();
  const std::vector<std::string> names = {"here.tga",        "tex/below.tga",
                                          "../outside.tga",  "tex/../../outside.tga",
                                          "..\\outside.tga", absolute};
  writeFile(dir.file("scene/scene.3ds"), sceneNaming(names));

  Scene3ds scene;
  ASSERT_EQ(scene.load(dir.file("scene/scene.3ds").c_str(), 1), 1);
  fs::current_path(saved);
  EXPECT_NE(textureOf(scene, "here.tga"), 0u);
  EXPECT_NE(textureOf(scene, "tex/below.tga"), 0u);
  for (size_t i = 2; i < names.size(); ++i)
    EXPECT_EQ(textureOf(scene, names[i]), 0u) << names[i] << " was read";
}

}  // namespace
