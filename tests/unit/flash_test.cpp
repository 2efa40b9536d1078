// The flash opacity: triggers set it to exactly 1, decays clamp at 0 from below only.
#include "fx/flash.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FlashOverlay, StartsInvisibleAndTriggersDoNotAccumulate) {
  FlashOverlay flash;
  EXPECT_EQ(flash.alpha, 0.0f);
  flash.trigger();
  flash.trigger();
  EXPECT_EQ(flash.alpha, 1.0f);
  flash.decayBy(0.25f);
  flash.trigger();  // a trigger while fading restarts at full white
  EXPECT_EQ(flash.alpha, 1.0f);
}

TEST(FlashOverlay, DecayClampsAtZeroFromBelowOnly) {
  FlashOverlay flash;
  flash.trigger();
  flash.decayBy(0.0f);
  EXPECT_EQ(flash.alpha, 1.0f);
  flash.decayBy(0.3f);
  EXPECT_EQ(flash.alpha, 1.0f - 0.3f);
  flash.decayBy(5.0f);
  EXPECT_EQ(flash.alpha, 0.0f);
  EXPECT_FALSE(std::signbit(flash.alpha));
  flash.decayBy(-0.5f);  // no upper clamp
  flash.decayBy(-1.0f);
  EXPECT_EQ(flash.alpha, 1.5f);
}
