// The headless run: unpack, start-up, stepped frames and a shutdown that also runs on failure.
#include "tools/headless/runner.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/frame_timer.h"
#include "app/presentation.h"
#include "app/timeline.h"
#include "app/window.h"
#include "assets/data_pack.h"
#include "fx/program_objects.h"
#include "platform/linux/sdl_platform.h"
#include "tools/headless/headless_platform.h"

namespace headless {

Runner::Runner() = default;

Runner::~Runner() {
  close();
}

bool Runner::open(const std::string& packPath, std::string& error,
                  const std::function<void()>& loadingShown) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(packPath, ec)) {
    error = "no asset pack at " + packPath;
    return false;
  }
  const std::string absolutePack = std::filesystem::absolute(packPath, ec).string();
  if (!folder_.create("demotool-", error)) return false;
  const UnpackResult unpacked = unpackPack(absolutePack.c_str(), folder_.path().c_str());
  if (!unpacked.ok) {
    error = "cannot unpack " + packPath + ": " +
            (unpacked.error.empty() ? std::string("not a valid pack") : unpacked.error);
    close();
    return false;
  }
  if (!folder_.enter(error)) {
    close();
    return false;
  }

  // Headless by default; a caller that names another driver keeps it.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  platform::SdlOptions options;
  options.windowed = true;
  options.quietMessageBoxes = true;
  platform_ = std::make_unique<HeadlessPlatform>(platform::createSdlPlatform(options));
  platform::setCurrent(platform_.get());

  counter_.set(0);
  frameTimer.useCounter(&counter_);
  platform_->onPictureShown(loadingShown);
  const bool opened = openWindow(kPresentationTitle, kScreenWidth, kScreenHeight, kScreenBits);
  platform_->onPictureShown({});
  if (!opened) {
    const std::string why = platform_->firstMessage();
    error = "no GL context can be made" + (why.empty() ? std::string() : " (" + why + ")");
    close();
    return false;
  }
  windowOpen_ = true;
  return true;
}

void Runner::frame(uint32_t elapsedMs, const std::function<void()>& beforeSwap) {
  if (!windowOpen_) return;
  // Pending messages go first, as in the main loop; a close request ends the run instead of the
  // presentation's loop.
  platform::Message message;
  while (platform_->peekMessage(message)) {
    if (message.message == platform::WM_QUIT)
      interrupted_ = true;
    else
      platform_->dispatchMessage(message);
  }
  counter_.set(elapsedMs);
  timelineFrame();
  platform_->onBeforeSwap(beforeSwap);
  platform_->swapBuffers(deviceContext);
  platform_->onBeforeSwap({});
}

void Runner::close() {
  if (windowOpen_) {
    closeWindow();
    windowOpen_ = false;
  }
  if (platform_) {
    frameTimer.useCounter(&platform::systemCounter());
    platform::setCurrent(nullptr);
    platform_.reset();
  }
  folder_.remove();
}

}  // namespace headless
