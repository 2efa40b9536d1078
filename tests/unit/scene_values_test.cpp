// The scenes' accumulated values: each frame adds delta / divisor in double precision and stores
// the sum as a float, so the values match the double-summed reference frame by frame rather than
// drifting like a float running sum.
#include <gtest/gtest.h>

#include <cstdint>

#include "fx/scenes.h"

namespace {

float floatRunningSum(int frames, uint32_t delta, float divisor) {
  float sum = 0.0f;
  for (int i = 0; i < frames; ++i) sum += float(delta) / divisor;
  return sum;
}

}  // namespace

TEST(SceneAccumulation, FollowsTheDoubleSumStoredAsFloatEveryFrame) {
  float angle = 0.0f;
  float reference = 0.0f;
  for (int frame = 1; frame <= 1000; ++frame) {
    angle = accumulate(angle, 16, 120.0);
    reference = float(double(reference) + 16.0 / 120.0);
    ASSERT_EQ(angle, reference) << "frame " << frame;
  }
  EXPECT_NEAR(angle, 1000.0 * 16.0 / 120.0, 1e-3);
}

TEST(SceneAccumulation, DiffersFromAFloatRunningSumWhereTheRoundingDiffers) {
  float angle = 0.0f;
  for (int i = 0; i < 3; ++i) angle = accumulate(angle, 16, 120.0);
  // Three 16 ms frames turn by exactly the float nearest 0.4 degrees.
  EXPECT_EQ(angle, 0.4f);
  EXPECT_NE(angle, floatRunningSum(3, 16, 120.0f));
}

TEST(SceneAccumulation, SmallDeltasAreNotLostToIntegerDivision) {
  float angle = 0.0f;
  for (int i = 0; i < 120; ++i) angle = accumulate(angle, 1, 120.0);
  EXPECT_NEAR(angle, 1.0f, 1e-5f);
}

TEST(SceneAccumulation, ZeroDeltaLeavesTheValueUnchanged) {
  for (float value : {0.0f, 0.1f, 133.332672f, 2.32666516f, 1.0e6f})
    EXPECT_EQ(accumulate(value, 0, 120.0), value);
}

TEST(SceneAccumulation, TheLargestDeltaIsConvertedExactly) {
  // No 32-bit wrap or float rounding of the delta before the division.
  EXPECT_EQ(accumulate(0.0f, 0xFFFFFFFFu, 1.0), float(4294967295.0));
  EXPECT_EQ(accumulate(0.0f, 0xFFFFFFFFu, 120.0), float(4294967295.0 / 120.0));
}

TEST(SceneSixDepth, TravelsAbout2Point33UnitsOverItsWindow) {
  // 1396 ms of scene 6 as 87 frames of 16 ms and one of 4 ms.
  float depth = 0.0f;
  for (int i = 0; i < 87; ++i) depth = accumulate(depth, 16, 600.0);
  depth = accumulate(depth, 4, 600.0);
  EXPECT_NEAR(depth, 1396.0 / 600.0, 1e-5);
  const float z = float(-2.5 + double(depth));
  EXPECT_NEAR(z, -0.17333, 1e-4);
  EXPECT_LT(z, -0.01f) << "the set is still beyond the near plane when the scene ends";

  // One long frame covering the window ends at the same place, to float precision.
  EXPECT_NEAR(accumulate(0.0f, 1396, 600.0), depth, 1e-5);
}
