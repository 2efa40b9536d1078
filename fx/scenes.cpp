#include "fx/scenes.h"

float scene1Angle = 0.0f;
float scene2Angle = 0.0f;
float scene3Angle = 0.0f;
float scene4Angle = 0.0f;
float scene5Angle = 0.0f;
float scene6Depth = 0.0f;
int32_t endSceneStarted = 0;

float accumulate(float value, uint32_t delta, double divisor) {
  return float(double(value) + double(delta) / divisor);
}

void drawScene1(uint32_t, uint32_t) {}
void drawScene2(uint32_t, uint32_t) {}
void drawScene3(uint32_t, uint32_t) {}
void drawScene4(uint32_t, uint32_t) {}
void drawScene5(uint32_t, uint32_t) {}
void drawScene6(uint32_t, uint32_t) {}
void drawEndScene(uint32_t, uint32_t) {}
void initEndScene() {}
