#include "parity.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "frame_difference.h"

namespace parity {

namespace {

// A channel may differ by this much for a pixel to count as matching.
constexpr int kTolerance = 4;

}  // namespace

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool captureMoments(const std::string& demotool, const std::string& folder, std::string& error) {
  const std::string command = demotool + " capture --data '" + env("DATA_PACK") + "' --fps " +
                              std::to_string(kFps) + " --to " + std::to_string(kLastMs) +
                              " --out '" + folder + "/frames' --loading '" + folder +
                              "/loading.png' > /dev/null";
  if (std::system(command.c_str()) != 0) {
    error = "failed: " + command;
    return false;
  }
  return true;
}

std::string capturedPath(const std::string& folder, const Moment& moment) {
  if (moment.timeMs < 0) return folder + "/loading.png";
  char name[32];
  std::snprintf(name, sizeof name, "/frames/frame-%06d.png", moment.timeMs * kFps / 1000);
  return folder + name;
}

void expectAlike(const RgbPicture& reference, const RgbPicture& other, const char* name,
                 const Bounds& bounds) {
  ASSERT_EQ(reference.width, other.width) << name;
  ASSERT_EQ(reference.height, other.height) << name;
  const FrameDifference d =
      compareFrames(reference.rgb, other.rgb, kTolerance, reference.width, bounds.radius);
  std::printf("%-8s mean difference R %.3f G %.3f B %.3f /255, within %d/255: %.3f %%\n", name,
              d.meanPerChannel[0], d.meanPerChannel[1], d.meanPerChannel[2], kTolerance,
              d.shareWithin * 100.0);
  for (double mean : d.meanPerChannel) EXPECT_LE(mean, bounds.maxMeanPerChannel) << name;
  EXPECT_GE(d.shareWithin, bounds.minShareWithin) << name;
  // The end picture is the darkest, with 7 % of its channel values above 16.
  size_t lit = 0;
  for (uint8_t v : reference.rgb) lit += v > 16 ? 1 : 0;
  EXPECT_GT(lit, reference.rgb.size() / 20) << name << " shows almost nothing";
}

}  // namespace parity
