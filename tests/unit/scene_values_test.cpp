// The scenes' accumulated values: each frame adds delta / divisor in double precision and stores
// the sum as a float, so they do not drift like a float running sum. The values the real scenes
// reach frame by frame are checked through demotool trace (trace_test).
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
