#include "gfx/vec3.h"

#include <gtest/gtest.h>

TEST(Vec3, ZeroLengthIsLeftAlone) {
  Vec3 v(0, 0, 0);
  v.normalize();
  EXPECT_EQ(v.x, 0.0f);
  v.setLength(5.0f);
  EXPECT_EQ(v.x, 0.0f);
  EXPECT_EQ(v.y, 0.0f);
  EXPECT_EQ(v.z, 0.0f);
}

TEST(Vec3, NormalizeAndLength) {
  Vec3 v(3, 4, 0);
  EXPECT_EQ(v.length(), 5.0f);
  v.normalize();
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_FLOAT_EQ(v.y, 0.8f);
  Vec3 tiny(1e-30f, 0, 0);
  tiny.normalize();
  EXPECT_FLOAT_EQ(tiny.x, 1.0f);
}

TEST(Vec3, SetLengthScalesAndReverses) {
  Vec3 v(2, 0, 0);
  v.setLength(3.5f);
  EXPECT_FLOAT_EQ(v.x, 3.5f);
  Vec3 w(1, 0, 0);
  w.setLength(-2.0f);
  EXPECT_FLOAT_EQ(w.x, -2.0f);
}

TEST(Vec3, FaceNormalOrientationAndScale) {
  Vec3 n;
  n.setFaceNormal(0, 0, 0, 1, 0, 0, 0, 1, 0);
  EXPECT_EQ(n.z, 1.0f);
  n.setFaceNormal(0, 0, 0, 0, 1, 0, 1, 0, 0);
  EXPECT_EQ(n.z, -1.0f);
  n.setFaceNormal(0, 0, 0, 2, 0, 0, 0, 2, 0);
  EXPECT_EQ(n.z, 4.0f);
  n.setFaceNormal(0, 0, 0, 1, 1, 1, 2, 2, 2);
  EXPECT_EQ(n.length(), 0.0f);
}

TEST(Vec3, OperatorsLeaveOperandsAlone) {
  const Vec3 a(1, 2, 3);
  const Vec3 d = a - Vec3(1, 1, 1);
  EXPECT_EQ(d.x, 0.0f);
  EXPECT_EQ(d.y, 1.0f);
  EXPECT_EQ(d.z, 2.0f);
  EXPECT_EQ(a.x, 1.0f);
  EXPECT_EQ(a.dot(Vec3(4, -5, 6)), 12.0f);
}
