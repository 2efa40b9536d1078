// The scene records give their GL names back while a context is current, and touch GL not at all
// once it is gone (scenes are destroyed at program exit, after the context).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "gfx/gl.h"
#include "model3ds/scene3ds.h"
#include "support/gl_context.h"

// Without a context the GL library ignores calls, so only counting them shows whether any were
// made: these two take precedence over the library's and pass every call on to it.
namespace {
int deleteCalls = 0;
template <typename Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}
}  // namespace

extern "C" void GLAPIENTRY glDeleteLists(GLuint list, GLsizei range) {
  ++deleteCalls;
  static const auto real = next<void(GLAPIENTRY*)(GLuint, GLsizei)>("glDeleteLists");
  real(list, range);
}

extern "C" void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
  ++deleteCalls;
  static const auto real = next<void(GLAPIENTRY*)(GLsizei, const GLuint*)>("glDeleteTextures");
  real(n, textures);
}

TEST(Scene3dsTeardown, ClearDeletesListsAndTexturesWhileTheContextIsCurrent) {
  GlTestContext gl;
  ASSERT_TRUE(gl.ok()) << "no headless GL context";
  Scene3ds scene;
  Material3ds* material = scene.materials.add();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const uint8_t pixel[4] = {1, 2, 3, 0};
  glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, pixel);
  material->texture = texture;
  Object3ds* object = scene.objects.add();
  object->displayList = glGenLists(1);
  glNewList(object->displayList, GL_COMPILE);
  glEndList();
  object->material = material;
  const GLuint list = object->displayList;
  ASSERT_TRUE(glIsList(list));
  ASSERT_TRUE(glIsTexture(texture));

  deleteCalls = 0;
  scene.clear();
  EXPECT_EQ(deleteCalls, 2);
  EXPECT_FALSE(glIsList(list));
  EXPECT_FALSE(glIsTexture(texture));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Scene3dsTeardown, WithoutAContextNothingIsCalled) {
  // A context left current by an earlier test in this process is that test's fault.
  ASSERT_FALSE(platform::glContextCurrent()) << "a context is still current";
  // The names are made up: GL must not be asked about them.
  Scene3ds scene;
  scene.materials.add()->texture = 7;
  scene.objects.add()->displayList = 9;
  deleteCalls = 0;
  scene.clear();
  EXPECT_EQ(deleteCalls, 0);
  EXPECT_EQ(scene.objects.count, 0);
  EXPECT_EQ(scene.materials.count, 0);
}
