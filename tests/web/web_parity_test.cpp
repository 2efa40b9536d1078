// The page in Chromium (WebGL on SwiftShader, through the GL layer over ES 2.0) must show what the
// native program draws with Mesa's GL 1.1: the loading picture, and each moment from the page's
// stepped time mode beside the same moment of `demotool capture`.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "parity.h"
#include "tools/common/temp_folder.h"

namespace {

using parity::env;

std::string webPath(const std::string& folder, const parity::Moment& moment) {
  if (moment.timeMs < 0) return folder + "/loading.png";
  return folder + "/at-" + std::to_string(moment.timeMs) + ".png";
}

TEST(WebParity, ThePageShowsEveryMomentAsTheNativeProgramDoes) {
  ASSERT_FALSE(env("DEMOTOOL").empty()) << "DEMOTOOL names the native demotool";
  ASSERT_FALSE(env("DATA_PACK").empty()) << "DATA_PACK names the forged pack";
  ASSERT_FALSE(env("WEB_PAGE").empty()) << "WEB_PAGE names the web build's folder";
  ASSERT_FALSE(env("WEB_TESTS").empty()) << "WEB_TESTS names the browser scripts' folder";
  TempFolder native, web;
  std::string error;
  ASSERT_TRUE(native.create("web-parity-native-", error)) << error;
  ASSERT_TRUE(web.create("web-parity-page-", error)) << error;
  ASSERT_TRUE(parity::captureMoments(env("DEMOTOOL"), native.path(), error)) << error;

  std::string times;
  for (const parity::Moment& moment : parity::kMoments)
    if (moment.timeMs >= 0) times += (times.empty() ? "" : ",") + std::to_string(moment.timeMs);
  const std::string command = "node '" + env("WEB_TESTS") + "/capture_page.js' '" +
                              env("WEB_PAGE") + "' '" + web.path() + "' " + times;
  ASSERT_EQ(std::system(command.c_str()), 0) << "failed: " << command;

  for (const parity::Moment& moment : parity::kMoments) {
    RgbPicture reference, page;
    ASSERT_TRUE(readPng(parity::capturedPath(native.path(), moment), reference, error)) << error;
    ASSERT_TRUE(readPng(webPath(web.path(), moment), page, error)) << error;
    parity::expectAlike(reference, page, moment.name, parity::kOtherRasterizer);
  }
}

}  // namespace
