// The six scenes and the end scene, each called by the timeline once per frame while the elapsed
// time lies in its window. Motion comes only from the frame delta, summed into per-scene values
// that start at 0 and are never reset.
#pragma once

#include <cstdint>

extern float scene1Angle;  // degrees
extern float scene2Angle;  // degrees
extern float scene3Angle;  // degrees
extern float scene4Angle;  // degrees
extern float scene5Angle;  // degrees
extern float scene6Depth;  // model-view units, before the scene's scaling
extern int32_t endSceneStarted;

// value + delta / divisor, summed in double precision and stored as float.
float accumulate(float value, uint32_t delta, double divisor);

void drawScene1(uint32_t elapsed, uint32_t delta);
void drawScene2(uint32_t elapsed, uint32_t delta);
void drawScene3(uint32_t elapsed, uint32_t delta);
void drawScene4(uint32_t elapsed, uint32_t delta);
void drawScene5(uint32_t elapsed, uint32_t delta);
void drawScene6(uint32_t elapsed, uint32_t delta);
void drawEndScene(uint32_t elapsed, uint32_t delta);
void initEndScene();
