// The strip overlay's 16-bit arithmetic: how the scroll offset advances and wraps, and where each
// of the six strips lands, including the wrap of negative positions far outside the overlay.
#include <gtest/gtest.h>

#include "fx/view.h"

namespace {

TEST(StripOffset, AdvancesByTruncatedFifthsAndWrapsAt16Bits) {
  EXPECT_EQ(advanceStripOffset(0, 4), 0) << "4 ms or less moves nothing";
  EXPECT_EQ(advanceStripOffset(7, 0), 7);
  EXPECT_EQ(advanceStripOffset(0, 5), 1);
  EXPECT_EQ(advanceStripOffset(0, 9), 1) << "the remainder of each frame is lost";
  EXPECT_EQ(advanceStripOffset(100, 1000), 300);
  EXPECT_EQ(advanceStripOffset(65535, 10), 1);
  EXPECT_EQ(advanceStripOffset(0, 65535), 13107);
  // Callers hand the low 16 bits of the delta: 65536 ms is 0, 65541 ms is 5.
  EXPECT_EQ(advanceStripOffset(0, uint16_t(65536u)), 0);
  EXPECT_EQ(advanceStripOffset(0, uint16_t(65541u)), 1);
}

TEST(StripY, StartsFromTheTablePositions) {
  const uint16_t expected[7] = {0, 0, 800, 400, 0, 800, 400};
  for (int strip = 1; strip <= 6; ++strip) EXPECT_EQ(stripY(strip, 0), expected[strip]) << strip;
  EXPECT_EQ(stripY(1, 123), 123);
  EXPECT_EQ(stripY(2, 123), 677);
  EXPECT_EQ(stripY(3, 123), 338);
  EXPECT_EQ(stripY(4, 123), 246);
  EXPECT_EQ(stripY(5, 123), 554);
  EXPECT_EQ(stripY(6, 123), 277);
}

// A strip has vanished when its y wrapped past zero to a value far beyond the overlay space.
bool vanished(uint16_t y) {
  return y > 32768;
}

TEST(StripY, StripsVanishExactlyPastTheirBounds) {
  EXPECT_FALSE(vanished(stripY(5, 400)));
  EXPECT_TRUE(vanished(stripY(5, 401)));
  EXPECT_EQ(stripY(6, 400), 0);
  EXPECT_EQ(stripY(6, 401), 65535);
  EXPECT_FALSE(vanished(stripY(2, 800)));
  EXPECT_TRUE(vanished(stripY(2, 801)));
  EXPECT_EQ(stripY(2, 801), 65535);
  EXPECT_EQ(stripY(3, 801), 0) << "-1 / 2 truncates toward zero";
  EXPECT_TRUE(vanished(stripY(3, 802)));
  EXPECT_EQ(stripY(3, 803), 65535);
  // Strips 1 and 4 run off the bottom but keep their positions.
  EXPECT_EQ(stripY(1, 700), 700);
  EXPECT_EQ(stripY(4, 700), 1400);
}

TEST(StripY, RightColumnWrapsInSigned32BitsBeforeTheCast) {
  // 2 o exceeds 16 bits: the value is computed wide and then cut to 16 bits.
  EXPECT_EQ(stripY(4, 40000), uint16_t(80000));
  EXPECT_EQ(stripY(5, 40000), uint16_t(800 - 80000));
  EXPECT_EQ(stripY(6, 40000), uint16_t((800 - 80000) / 2));
  EXPECT_EQ(stripY(6, 40000), uint16_t(-39600));
}

}  // namespace
