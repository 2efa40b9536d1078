// The same moments drawn by Mesa's GL 1.1 ($DEMOTOOL) and by the GL 1.1 layer over OpenGL ES 2.0
// ($DEMOTOOL_ES2) must look alike: each scene, a flash, the end picture and the loading picture.
#include "parity.h"

#include <gtest/gtest.h>

#include "tools/common/temp_folder.h"

namespace {

using parity::env;

TEST(GlesParity, EveryMomentMatchesMesasGl11) {
  ASSERT_FALSE(env("DEMOTOOL").empty()) << "DEMOTOOL names the GL 1.1 build's demotool";
  ASSERT_FALSE(env("DEMOTOOL_ES2").empty()) << "DEMOTOOL_ES2 names the ES 2.0 build's demotool";
  ASSERT_FALSE(env("DATA_PACK").empty()) << "DATA_PACK names the forged pack";
  TempFolder gl11, es2;
  std::string error;
  ASSERT_TRUE(gl11.create("gles-parity-gl11-", error)) << error;
  ASSERT_TRUE(es2.create("gles-parity-es2-", error)) << error;
  ASSERT_TRUE(parity::captureMoments(env("DEMOTOOL"), gl11.path(), error)) << error;
  ASSERT_TRUE(parity::captureMoments(env("DEMOTOOL_ES2"), es2.path(), error)) << error;

  for (const parity::Moment& moment : parity::kMoments) {
    RgbPicture reference, layer;
    ASSERT_TRUE(readPng(parity::capturedPath(gl11.path(), moment), reference, error)) << error;
    ASSERT_TRUE(readPng(parity::capturedPath(es2.path(), moment), layer, error)) << error;
    parity::expectAlike(reference, layer, moment.name, parity::kSameRasterizer);
  }
}

}  // namespace
