// The step observer of loadAssets, which demotool bench times the start-up with: every step is
// announced once before and once after it runs, in the catalogue's order, and an observer that
// is set back to none hears nothing more.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "fx/program_objects.h"
#include "gfx/gl.h"
#include "support/catalogue_files.h"
#include "support/gl_context.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> heard;
// Whether the head was already read when its own step was announced finished.
bool headLoadedAtItsEnd = false;

void record(const char* step, bool finished) {
  heard.push_back(std::string(finished ? "end " : "begin ") + step);
  if (finished && std::string(step) == "head") headLoadedAtItsEnd = headMesh.vertexCount > 0;
}

class LoadSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no headless GL context";
    CatalogueFileSet set;
    set.cubeScenes = true;
    writeCatalogueFiles(dir.path(), set);
    dir.enter();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    heard.clear();
    headLoadedAtItsEnd = false;
  }
  void TearDown() override {
    setLoadStepObserver(nullptr);
    if (gl.ok()) unloadCatalogue();
  }

  GlTestContext gl;
  TempDir dir;
};

TEST_F(LoadSteps, EachStepIsAnnouncedAroundItsWorkInCatalogueOrder) {
  setLoadStepObserver(record);
  loadAssets();
  std::vector<std::string> expected;
  for (const char* step :
       {"light", "head", "slots", "particles", "c00", "c01", "c02", "c05", "skin"}) {
    expected.push_back(std::string("begin ") + step);
    expected.push_back(std::string("end ") + step);
  }
  EXPECT_EQ(heard, expected);
  EXPECT_TRUE(headLoadedAtItsEnd) << "the head step ended before the head was read";
  EXPECT_EQ(headMesh.vertexCount, 3u);
  // The scenes still load through their steps.
  EXPECT_NE(sceneC00.objects.first(), nullptr);
  EXPECT_NE(sceneC05.objects.first(), nullptr);
  EXPECT_NE(skoraTexture, 0u);
}

TEST_F(LoadSteps, NoObserverMeansNothingIsHeard) {
  setLoadStepObserver(record);
  setLoadStepObserver(nullptr);
  loadAssets();
  EXPECT_TRUE(heard.empty());
  EXPECT_NE(sceneC02.objects.first(), nullptr);
}

}  // namespace
