// The still picture shown on the whole window while the assets load. It goes to the window through
// the platform's 2D picture path, because nothing is set up for GL drawing yet.
#include "app/loading_screen.h"

#include "app/window.h"
#include "assets/asset_names.h"
#include "gfx/image_file.h"
#include "platform/platform.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

}  // namespace

void showLoadingScreen() {
  ImageFile picture;
  // The picture is shown at a fixed 800 x 600 from the file's own bytes, so anything else would be
  // read past its end or shown skewed: start-up goes on without it.
  if (!picture.load(assetname::kLoading)) return;
  if (picture.getWidth() != kWidth || picture.getHeight() != kHeight) return;
  if (picture.getBitsPerPixel() != 24) return;
  if (picture.getPixelBytes() < size_t(kWidth) * kHeight * 3) return;
  // Blue, green, red and bottom row first, as the file stores them: exactly what the window takes.
  platform::current().showPicture(windowHandle, picture.getPixels(), kWidth, kHeight);
}
