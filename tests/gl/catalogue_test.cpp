// loadAssets in a headless context, on a small set of files written into a private folder: the
// light, the slots and their masks, the emitter's settings, the scenes and the skin texture.
#include "assets/catalogue.h"

#include <gtest/gtest.h>

#include <vector>

#include "fx/program_objects.h"
#include "gfx/gl.h"
#include "support/catalogue_files.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"

namespace {

class Catalogue : public ::testing::Test {
 protected:
  void load(const CatalogueFileSet& set = {}) {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    writeCatalogueFiles(dir.path(), set);
    dir.enter();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    loadAssets();
  }
  void TearDown() override {
    if (gl.ok()) unloadCatalogue();
  }

  GLint skinLevel(GLint level, GLenum what) {
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, skoraTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
  }

  GlTestContext gl;
  TempDir dir;
};

void expectVector(GLenum what, std::vector<float> expected) {
  GLfloat value[4] = {-1, -1, -1, -1};
  glGetLightfv(GL_LIGHT0, what, value);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(value[i], expected[i]) << "component " << i;
}

}  // namespace

TEST_F(Catalogue, SetsUpLightZeroAndItsEnables) {
  load();
  expectVector(GL_POSITION, {0.0f, 0.0f, 2.0f, 1.0f});
  expectVector(GL_AMBIENT, {0.0f, 0.0f, 0.0f, 1.0f});
  expectVector(GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});
  expectVector(GL_SPECULAR, {1.0f, 1.0f, 1.0f, 1.0f});  // left at its default
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Catalogue, MasksExactlyTheBorderAndEndPictures) {
  load();
  for (Texture* masked : {&endTexture, &leftTexture, &rightTexture, &topTexture, &downTexture}) {
    EXPECT_NE(masked->textureName, 0u);
    EXPECT_NE(masked->maskName, 0u);
    EXPECT_NE(masked->hasMask, 0);
  }
  for (Texture* plain : {&back01Texture, &stripTexture, &spTexture}) {
    EXPECT_NE(plain->textureName, 0u);
    EXPECT_EQ(plain->maskName, 0u);
    EXPECT_EQ(plain->hasMask, 0);
  }
  EXPECT_EQ(back01Texture.width, 800u);
  EXPECT_EQ(back01Texture.height, 600u);
  EXPECT_EQ(endTexture.width, kEndPictureWidth);
  EXPECT_EQ(endTexture.height, kEndPictureHeight);
}

TEST_F(Catalogue, ConfiguresTheEmitterWithoutCreatingParticles) {
  load();
  EXPECT_EQ(particles.count, 0u);
  EXPECT_EQ(particles.particleList, nullptr);
  EXPECT_EQ(particles.position.x, 0.0f);
  EXPECT_EQ(particles.position.y, -10.0f);
  EXPECT_EQ(particles.position.z, 0.0f);
  EXPECT_EQ(particles.size, 0.3f);
  EXPECT_EQ(particles.maxAge, 500u);
  EXPECT_EQ(particles.speed, 5.0f);
  EXPECT_EQ(particles.maxCount, 600u);
  EXPECT_EQ(particles.acceleration.x, 0.0f);
  EXPECT_EQ(particles.acceleration.y, 0.08f);
  EXPECT_EQ(particles.acceleration.z, 0.0f);
  const float colour[4] = {0.7f, 0.0f, 0.0f, 0.5f};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(particles.colour[i], colour[i]) << "component " << i;
  // The settings the catalogue does not name keep their defaults.
  EXPECT_EQ(particles.step, 0.01f);
  EXPECT_EQ(particles.emitting, 1);
}

TEST_F(Catalogue, LoadsTheHeadAndTheFourScenesAndToleratesMissingScenes) {
  CatalogueFileSet withScenes;
  withScenes.cubeScenes = true;
  load(withScenes);
  EXPECT_EQ(headMesh.vertexCount, 3);
  EXPECT_EQ(headMesh.faceCount, 1);
  for (Scene3ds* scene : {&sceneC00, &sceneC01, &sceneC02, &sceneC05})
    EXPECT_EQ(scene->objects.count, 1);
  unloadCatalogue();

  // Without the 3DS files the scenes stay empty and everything after them still loads.
  // Each missing file is named once on stderr with the reader's reason.
  for (const char* name : {"c00.3ds", "c01.3ds", "c02.3ds", "c05.3ds"})
    std::remove(dir.file(name).c_str());
  ::testing::internal::CaptureStderr();
  loadAssets();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "c00.3ds: cannot read the file\nc01.3ds: cannot read the file\n"
            "c02.3ds: cannot read the file\nc05.3ds: cannot read the file\n");
  for (Scene3ds* scene : {&sceneC00, &sceneC01, &sceneC02, &sceneC05})
    EXPECT_EQ(scene->objects.count, 0);
  EXPECT_NE(skoraTexture, 0u);
  EXPECT_EQ(skinLevel(0, GL_TEXTURE_WIDTH), 8);
}

TEST_F(Catalogue, UploadsTheSkinAsOneLinearLevelOfItsOwnSize) {
  load();
  ASSERT_NE(skoraTexture, 0u);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), skoraTexture) << "the skin stays bound after loading";
  EXPECT_EQ(skinLevel(0, GL_TEXTURE_WIDTH), 8);
  EXPECT_EQ(skinLevel(0, GL_TEXTURE_HEIGHT), 4);
  EXPECT_EQ(skinLevel(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps";
  GLint minFilter = 0, magFilter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
}

TEST_F(Catalogue, SkinRowsArePackedTightlyInFileOrderAndTurnedToRgb) {
  // Three pixels per row: nine bytes, not a multiple of the default row alignment.
  CatalogueFileSet set;
  set.skinWidth = 3;
  set.skinHeight = 2;
  load(set);
  ASSERT_EQ(skinLevel(0, GL_TEXTURE_WIDTH), 3);
  std::vector<uint8_t> texels(3 * 2 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  for (size_t p = 0; p < 6; ++p) {
    EXPECT_EQ(texels[p * 3 + 0], skinFileByte(p * 3 + 2)) << "red of pixel " << p;
    EXPECT_EQ(texels[p * 3 + 1], skinFileByte(p * 3 + 1)) << "green of pixel " << p;
    EXPECT_EQ(texels[p * 3 + 2], skinFileByte(p * 3 + 0)) << "blue of pixel " << p;
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "the unpack alignment is put back";
}

TEST_F(Catalogue, AnUnreadableSkinUploadsNothing) {
  CatalogueFileSet set;
  set.writeSkin = false;
  load(set);
  EXPECT_NE(skoraTexture, 0u);
  EXPECT_EQ(skinLevel(0, GL_TEXTURE_WIDTH), 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(back01Texture.width, 800u) << "the rest of the catalogue still loads";
  unloadCatalogue();

  // A skin the reader refuses (16 bits per pixel) is treated the same way.
  writeTga(dir.file("skora.tga"), 4, 4, std::vector<uint8_t>(4 * 4 * 2, 0x55), 16);
  loadAssets();
  EXPECT_NE(skoraTexture, 0u);
  EXPECT_EQ(skinLevel(0, GL_TEXTURE_WIDTH), 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
