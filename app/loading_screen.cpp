// The still picture shown on the whole window while the assets load. It goes to the window through
// the platform's 2D picture path, because nothing is set up for GL drawing yet.
#include "app/loading_screen.h"

#include "app/window.h"
#include "assets/asset_names.h"
#include "gfx/image_file.h"
#include "gfx/load_failure.h"
#include "platform/platform.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

}  // namespace

void showLoadingScreen() {
  ImageFile picture;
  // The picture is shown at a fixed 800 x 600 from the file's own bytes, so anything else would be
  // read past its end or shown skewed: start-up goes on without it.
  if (!picture.load(assetname::kLoading)) return;  // the reader has said why
  if (picture.getWidth() != kWidth || picture.getHeight() != kHeight ||
      picture.getBitsPerPixel() != 24 || picture.getPixelBytes() < size_t(kWidth) * kHeight * 3) {
    reportLoadFailure(assetname::kLoading,
                      "is " + std::to_string(picture.getWidth()) + "x" +
                          std::to_string(picture.getHeight()) +
                          "; the loading screen shows only 800x600 pictures of 24 bits");
    return;
  }
  // Blue, green, red and bottom row first, as the file stores them: exactly what the window takes.
  platform::current().showPicture(windowHandle, picture.getPixels(), kWidth, kHeight);
}
