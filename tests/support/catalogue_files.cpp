// Test files for the asset catalogue: pictures from the TGA writer, a three-vertex head and a cube
// scene from the chunk writer.
#include "support/catalogue_files.h"

#include <vector>

#include "fx/program_objects.h"
#include "gfx/gl.h"
#include "gfx/little_endian.h"
#include "support/chunk_writer.h"
#include "support/temp_dir.h"

namespace {

// Three vertices, one triangle, in the head's own format, placed outside every scene's view so that
// it never covers the picture's centre.
std::vector<uint8_t> headBytes() {
  return headFileBytes({{40, 40, 0}, {41, 40, 0}, {40, 41, 0}}, {{0, 1, 2}});
}

std::vector<uint8_t> cubeSceneBytes() {
  const float h = 60.0f;  // model units: several eye units at every scene's scale
  std::vector<Point3> corners;
  for (int i = 0; i < 8; ++i) corners.push_back({i & 1 ? h : -h, i & 2 ? h : -h, i & 4 ? h : -h});
  const std::vector<Face4> faces = {{0, 1, 3, 0}, {0, 3, 2, 0}, {4, 6, 7, 0}, {4, 7, 5, 0},
                                    {0, 4, 5, 0}, {0, 5, 1, 0}, {2, 3, 7, 0}, {2, 7, 6, 0},
                                    {0, 2, 6, 0}, {0, 6, 4, 0}, {1, 5, 7, 0}, {1, 7, 3, 0}};
  ChunkWriter w;
  w.begin(chunk3ds::kMain).begin(chunk3ds::kMdata).begin(chunk3ds::kNamedObject).str("cube");
  w.begin(chunk3ds::kTriObject).points(corners).beginFaces(faces).end();
  return w.finish();
}

void writeSmall(const std::string& path, uint16_t w, uint16_t h, Bgr colour) {
  writeTga(path, w, h, solidPixels(w, h, colour));
}

}  // namespace

uint8_t skinFileByte(size_t index) {
  return uint8_t(index * 7 + 1);
}

void writeCatalogueFiles(const std::string& folder, const CatalogueFileSet& set) {
  const std::string dir = folder + "/";
  writeFile(dir + "ex_glowa_new.3ds", headBytes());
  writeTga(dir + "back01.tga", 800, 600, solidPixels(800, 600, set.background));
  writeTga(dir + "s_end.tga", kEndPictureWidth, kEndPictureHeight,
           twoColumnPixels(kEndPictureWidth, kEndPictureHeight, kEndPictureWidth / 2,
                           kEndPictureColour, {0, 0, 0}));
  // Small borders in the corners, clear of the letterbox centre.
  writeSmall(dir + "s_left.tga", 8, 16, Bgr{0, 0, 90});
  writeSmall(dir + "s_right.tga", 8, 16, Bgr{0, 90, 0});
  writeSmall(dir + "s_top.tga", 16, 8, Bgr{90, 0, 0});
  writeSmall(dir + "s_down.tga", 16, 8, Bgr{90, 90, 0});
  writeSmall(dir + "s_l.tga", 4, 8, Bgr{10, 10, 10});
  writeSmall(dir + "s_p.tga", 4, 4, Bgr{20, 20, 20});
  if (set.writeSkin) {
    std::vector<uint8_t> skin(size_t(set.skinWidth) * set.skinHeight * 3);
    for (size_t i = 0; i < skin.size(); ++i) skin[i] = skinFileByte(i);
    writeTga(dir + "skora.tga", set.skinWidth, set.skinHeight, skin);
  }
  if (set.cubeScenes)
    for (const char* name : {"c00.3ds", "c01.3ds", "c02.3ds", "c05.3ds"})
      writeFile(dir + name, cubeSceneBytes());
}

void unloadCatalogue() {
  for (Texture* slot : {&back01Texture, &endTexture, &leftTexture, &rightTexture, &topTexture,
                        &downTexture, &stripTexture, &spTexture})
    slot->release();
  for (Scene3ds* scene : {&sceneC00, &sceneC01, &sceneC02, &sceneC05}) scene->clear();
  headMesh.clear();
  if (skoraTexture != 0) {
    const GLuint name = skoraTexture;
    glDeleteTextures(1, &name);
    skoraTexture = 0;
  }
}
