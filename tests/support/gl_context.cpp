#include "support/gl_context.h"

#include <cstdlib>

#include "app/window.h"
#include "gfx/gl.h"
#include "platform/linux/sdl_platform.h"

GlTestContext::GlTestContext() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  platform::SdlOptions options;
  options.windowed = true;
  options.quietMessageBoxes = true;
  platform_ = platform::createSdlPlatform(options);
  platform::Platform& os = *platform_;
  platform::DisplayModeRequest mode{800, 600, 32, 85};
  if (!os.registerWindowClass("OpenGL", handleWindowMessage) || !os.changeDisplayMode(mode)) return;
  const auto window = os.createWindow("OpenGL", "test", 800, 600);
  const auto dc = os.getDeviceContext(window);
  platform::PixelFormatRequest format;
  if (!os.setPixelFormat(dc, os.choosePixelFormat(dc, format), format)) return;
  const auto rc = os.createRenderContext(dc);
  ok_ = rc && os.makeCurrent(dc, rc);
  platform::setCurrent(platform_.get());
}

GlTestContext::~GlTestContext() {
  platform::setCurrent(nullptr);
  platform_.reset();
}

GlTestContext::Rgb GlTestContext::pixel(int x, int y) const {
  uint8_t p[4] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
  return Rgb{p[0], p[1], p[2]};
}

std::vector<uint8_t> GlTestContext::frame() const {
  std::vector<uint8_t> out(800 * 600 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, out.data());
  return out;
}
