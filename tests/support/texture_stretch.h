// How unevenly a triangle's texture is stretched, for the tests of the forged head and sets.
#pragma once

#include "gfx/vec3.h"

struct SkinPoint {
  Vec3 position;
  float u;
  float v;
};

// The ratio of the largest to the smallest scale of the map from texture space onto the surface
// (1: the picture keeps its proportions); 0 when the triangle has no texture area.
float textureStretch(const SkinPoint& a, const SkinPoint& b, const SkinPoint& c);
