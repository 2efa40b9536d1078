// The same moments drawn by Mesa's GL 1.1 ($DEMOTOOL) and by the GL 1.1 layer over OpenGL ES 2.0
// ($DEMOTOOL_ES2) must look alike: each scene, a flash, the end picture and the loading picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame_difference.h"
#include "png_reader.h"
#include "tools/common/temp_folder.h"

namespace {

// Frames at 10 per second: frame i is at i * 100 ms.
constexpr int kFps = 10;
constexpr int kLastMs = 17000;

struct Moment {
  const char* name;
  int timeMs;  // -1: the loading picture
};

constexpr Moment kMoments[] = {
    {"loading", -1},    {"flash", 1100},    {"scene 1", 3000},
    {"scene 2", 7000},  {"scene 3", 11000}, {"scene 4", 12200},
    {"scene 5", 13500}, {"scene 6", 15500}, {"end", 17000},
};

// A channel may differ by this much for a pixel to count as matching.
constexpr int kTolerance = 4;
// The bounds, a little above the largest figures measured over these moments (mean at most 0.04
// in scene 3, every pixel within the tolerance).
constexpr double kMaxMeanPerChannel = 0.1;
constexpr double kMinShareWithin = 0.999;

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Runs one demotool capture of every frame up to kLastMs and the loading picture into `folder`.
bool capture(const std::string& demotool, const std::string& folder, std::string& error) {
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

std::string framePath(const std::string& folder, const Moment& moment) {
  if (moment.timeMs < 0) return folder + "/loading.png";
  char name[32];
  std::snprintf(name, sizeof name, "/frames/frame-%06d.png", moment.timeMs * kFps / 1000);
  return folder + name;
}

TEST(GlesParity, EveryMomentMatchesMesasGl11) {
  ASSERT_FALSE(env("DEMOTOOL").empty()) << "DEMOTOOL names the GL 1.1 build's demotool";
  ASSERT_FALSE(env("DEMOTOOL_ES2").empty()) << "DEMOTOOL_ES2 names the ES 2.0 build's demotool";
  ASSERT_FALSE(env("DATA_PACK").empty()) << "DATA_PACK names the forged pack";
  TempFolder gl11, es2;
  std::string error;
  ASSERT_TRUE(gl11.create("gles-parity-gl11-", error)) << error;
  ASSERT_TRUE(es2.create("gles-parity-es2-", error)) << error;
  ASSERT_TRUE(capture(env("DEMOTOOL"), gl11.path(), error)) << error;
  ASSERT_TRUE(capture(env("DEMOTOOL_ES2"), es2.path(), error)) << error;

  for (const Moment& moment : kMoments) {
    RgbPicture reference, layer;
    ASSERT_TRUE(readPng(framePath(gl11.path(), moment), reference, error)) << error;
    ASSERT_TRUE(readPng(framePath(es2.path(), moment), layer, error)) << error;
    ASSERT_EQ(reference.rgb.size(), layer.rgb.size()) << moment.name;
    const FrameDifference d = compareFrames(reference.rgb, layer.rgb, kTolerance);
    std::printf("%-8s mean difference R %.3f G %.3f B %.3f /255, within %d/255: %.3f %%\n",
                moment.name, d.meanPerChannel[0], d.meanPerChannel[1], d.meanPerChannel[2],
                kTolerance, d.shareWithin * 100.0);
    for (double mean : d.meanPerChannel) EXPECT_LE(mean, kMaxMeanPerChannel) << moment.name;
    EXPECT_GE(d.shareWithin, kMinShareWithin) << moment.name;
    // Black pictures on both sides would match trivially (the end picture is the darkest, with
    // 7 % of its channel values above 16).
    size_t lit = 0;
    for (uint8_t v : reference.rgb) lit += v > 16 ? 1 : 0;
    EXPECT_GT(lit, reference.rgb.size() / 20) << moment.name << " shows almost nothing";
  }
}

}  // namespace
