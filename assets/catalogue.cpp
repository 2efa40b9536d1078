// The fixed list of assets and the order in which they are loaded. No loader's result changes the
// sequence: a file that cannot be read leaves its object empty and the rest still loads.
#include "assets/catalogue.h"

#include "assets/asset_names.h"
#include "fx/program_objects.h"
#include "gfx/gl.h"
#include "gfx/image_file.h"
#include "gfx/tight_rows.h"

namespace {

struct SlotEntry {
  Texture* slot;
  const char* fileName;
  int withMask;
};

// The borders and the end picture are drawn with their black see-through; the background, the
// strip and the unused "s_p.tga" are drawn as they are.
const SlotEntry kSlots[] = {
    {&back01Texture, assetname::kBackground, 0}, {&endTexture, assetname::kEnd, 1},
    {&leftTexture, assetname::kFrameLeft, 1},    {&rightTexture, assetname::kFrameRight, 1},
    {&topTexture, assetname::kFrameTop, 1},      {&downTexture, assetname::kFrameDown, 1},
    {&stripTexture, assetname::kStrip, 0},       {&spTexture, assetname::kMetal, 0},
};

void uploadSkinLevel(const ImageFile& image) {
  TightRows rows;
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image.getWidth(), image.getHeight(), 0, GL_RGB,
               GL_UNSIGNED_BYTE, image.getPixels());
}

LoadStepObserver stepObserver = nullptr;

void runStep(const char* name, void (*step)()) {
  if (stepObserver) stepObserver(name, false);
  step();
  if (stepObserver) stepObserver(name, true);
}

}  // namespace

void setLoadStepObserver(LoadStepObserver observer) {
  stepObserver = observer;
}

void loadLight() {
  const GLfloat position[4] = {0.0f, 0.0f, 2.0f, 1.0f};
  const GLfloat ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  const GLfloat diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE);
}

void loadHead() {
  headMesh.load(assetname::kHead);
}

void loadSlots() {
  for (const SlotEntry& entry : kSlots) entry.slot->load(entry.fileName, entry.withMask);
}

void configureParticles(ParticleSystem& system) {
  system.setPosition(0.0f, -10.0f, 0.0f);
  system.setSize(0.3f);
  system.setMaxAge(500);
  system.setSpeed(5.0f);
  system.setMaxCount(600);
  system.setAcceleration(0.0f, 0.08f, 0.0f);
  system.setColour(0.7f, 0.0f, 0.0f, 0.5f);
}

void configureParticles() {
  configureParticles(particles);
}

void loadScene(Scene3ds& scene, const char* fileName) {
  scene.load(fileName, 1);
}

void loadSkin() {
  ImageFile image;
  GLuint name = 0;
  glGenTextures(1, &name);
  skoraTexture = name;
  glBindTexture(GL_TEXTURE_2D, skoraTexture);
  image.load(assetname::kSkin);
  image.swapRedBlue();
  // An unreadable picture has no pixels and no size worth uploading.
  if (image.getPixels() != nullptr) uploadSkinLevel(image);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  image.release();
}

void loadAssets() {
  runStep("light", loadLight);
  runStep("head", loadHead);
  runStep("slots", loadSlots);
  runStep("particles", configureParticles);
  runStep("c00", [] { loadScene(sceneC00, assetname::kSceneC00); });
  runStep("c01", [] { loadScene(sceneC01, assetname::kSceneC01); });
  runStep("c02", [] { loadScene(sceneC02, assetname::kSceneC02); });
  runStep("c05", [] { loadScene(sceneC05, assetname::kSceneC05); });
  runStep("skin", loadSkin);
}
