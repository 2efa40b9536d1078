#include "platform/linux/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>
#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/linux/pulse_latency.h"
#include "platform/scaled_surface.h"
#include "platform/window_emulation.h"

namespace platform {

bool glContextCurrent() {
  return SDL_GL_GetCurrentContext() != nullptr;
}

namespace {

// The build links either Mesa's GL 1.1 or the GL 1.1 layer over OpenGL ES 2.0 (gles/), which
// needs an ES 2.0 context.
#ifdef DEMO_GL_ES2
constexpr int kContextProfile = SDL_GL_CONTEXT_PROFILE_ES;
constexpr int kContextMajorVersion = 2;
constexpr int kContextMinorVersion = 0;
#else
constexpr int kContextProfile = SDL_GL_CONTEXT_PROFILE_COMPATIBILITY;
constexpr int kContextMajorVersion = 2;
constexpr int kContextMinorVersion = 1;
#endif

constexpr WindowHandle kWindow = 1;
constexpr DeviceContext kDeviceContext = 1;
constexpr RenderContext kRenderContext = 1;

enum class Surface { None, ExactMode, SameSizeMode, DesktopScaled, Windowed };

// Windows virtual-key code of an SDL key; 0 for keys the program has no code for.
uint32_t virtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return uint32_t('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return uint32_t(0x70 + (key - SDLK_F1));
  switch (key) {
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_RETURN:
      return 0x0D;
    case SDLK_SPACE:
      return 0x20;
    case SDLK_BACKSPACE:
      return 0x08;
    case SDLK_TAB:
      return 0x09;
    case SDLK_LEFT:
      return 0x25;
    case SDLK_UP:
      return 0x26;
    case SDLK_RIGHT:
      return 0x27;
    case SDLK_DOWN:
      return 0x28;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 0x11;
    case SDLK_LALT:
    case SDLK_RALT:
      return 0x12;
    case SDLK_PAUSE:
      return 0x13;
    case SDLK_DELETE:
      return 0x2E;
    case SDLK_INSERT:
      return 0x2D;
    case SDLK_HOME:
      return 0x24;
    case SDLK_END:
      return 0x23;
    case SDLK_PAGEUP:
      return 0x21;
    case SDLK_PAGEDOWN:
      return 0x22;
    default:
      return 0;
  }
}

int32_t packWords(int low, int high) {
  return int32_t((uint32_t(low) & 0xFFFF) | ((uint32_t(high) & 0xFFFF) << 16));
}

class SdlPlatform final : public Platform {
 public:
  // Events first: from here on SIGINT and SIGTERM become a quit event instead of ending the process
  // in the middle of unpacking, so the loose files are always removed by the normal shutdown.
  explicit SdlPlatform(const SdlOptions& options) : options_(options) {
    SDL_InitSubSystem(SDL_INIT_EVENTS);
  }

  ~SdlPlatform() override {
    for (Mix_Music* music : streams_) Mix_FreeMusic(music);
    if (audioOpen_) Mix_CloseAudio();
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  bool registerWindowClass(const char* className, MessageHandler handler) override {
    return windowClass_.add(className, handler);
  }

  bool unregisterWindowClass(const char* className) override {
    return windowClass_.remove(className);
  }

  bool changeDisplayMode(const DisplayModeRequest& mode) override {
    if (!initVideo()) return false;
    logicalWidth_ = mode.width;
    logicalHeight_ = mode.height;
    if (options_.windowed) {
      surface_ = Surface::Windowed;
      return true;
    }
    // With no display at all SDL falls back to its off-screen driver: no full screen to be had.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || !SDL_strcmp(driver, "offscreen") || !SDL_strcmp(driver, "dummy")) return false;
    if (SDL_GetNumVideoDisplays() < 1) return false;
    SDL_DisplayMode sameSize{};
    bool haveSameSize = false;
    for (int i = 0, n = SDL_GetNumDisplayModes(0); i < n; ++i) {
      SDL_DisplayMode m;
      if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
      if (m.w != mode.width || m.h != mode.height || SDL_BITSPERPIXEL(m.format) < 24) continue;
      if (m.refresh_rate == mode.refreshHz) {
        chosenMode_ = m;
        surface_ = Surface::ExactMode;
        return true;
      }
      if (!haveSameSize) sameSize = m, haveSameSize = true;
    }
    if (haveSameSize) {
      chosenMode_ = sameSize;
      surface_ = Surface::SameSizeMode;
      return true;
    }
    if (SDL_GetDesktopDisplayMode(0, &desktop_) != 0) return false;
    surface_ = Surface::DesktopScaled;
    return true;
  }

  void restoreDisplayMode() override {
    if (window_ && (surface_ == Surface::ExactMode || surface_ == Surface::SameSizeMode))
      SDL_SetWindowFullscreen(window_, 0);
  }

  void showCursor(bool visible) override {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }

  WindowHandle createWindow(const char* className, const char* title, int width,
                            int height) override {
    if (window_ || !windowClass_.named(className)) return 0;
    if (surface_ == Surface::None || !initVideo()) return 0;
    // On X11 the visual is fixed when the window is made, so the pixel format is requested here;
    // choosePixelFormat and setPixelFormat then confirm it.
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, kContextProfile);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kContextMajorVersion);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kContextMinorVersion);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (surface_ == Surface::ExactMode || surface_ == Surface::SameSizeMode)
      flags |= SDL_WINDOW_FULLSCREEN;
    else if (surface_ == Surface::DesktopScaled)
      flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // Without a window manager desktop full screen does not resize the window: make it the
    // desktop's size from the start.
    if (surface_ == Surface::DesktopScaled) width = desktop_.w, height = desktop_.h;
    window_ = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window_) return 0;
    if (surface_ == Surface::ExactMode || surface_ == Surface::SameSizeMode)
      SDL_SetWindowDisplayMode(window_, &chosenMode_);
    return kWindow;
  }

  bool destroyWindow(WindowHandle window) override {
    if (window != kWindow || !window_) return false;
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    return true;
  }

  DeviceContext getDeviceContext(WindowHandle window) override {
    return window == kWindow && window_ ? kDeviceContext : 0;
  }

  bool releaseDeviceContext(WindowHandle window, DeviceContext dc) override {
    return window == kWindow && dc == kDeviceContext && window_;
  }

  int choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override {
    if (dc != kDeviceContext || !window_) return 0;
    // The window was made for double-buffered RGBA with a depth buffer and nothing else.
    if (!request.doubleBuffer || request.colourBits < 24 || request.stencilBits > 0 ||
        request.accumBits > 0 || request.alphaBits > 0)
      return 0;
    return 1;
  }

  bool setPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) override {
    return dc == kDeviceContext && format == 1 && window_;
  }

  RenderContext createRenderContext(DeviceContext dc) override {
    if (dc != kDeviceContext || !window_ || context_) return 0;
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) return 0;
    SDL_GL_MakeCurrent(window_, nullptr);
    return kRenderContext;
  }

  bool makeCurrent(DeviceContext dc, RenderContext rc) override {
    if (dc == 0 && rc == 0) return SDL_GL_MakeCurrent(window_, nullptr) == 0;
    if (dc != kDeviceContext || rc != kRenderContext || !context_) return false;
    if (SDL_GL_MakeCurrent(window_, context_) != 0) return false;
    if (!surfaceReady_) prepareSurface();
    return true;
  }

  bool deleteRenderContext(RenderContext rc) override {
    if (rc != kRenderContext || !context_) return false;
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    scaled_.reset();
    surfaceReady_ = false;
    return true;
  }

  void showWindow(WindowHandle window) override {
    if (window != kWindow || !window_) return;
    SDL_ShowWindow(window_);
    // X11 maps the window asynchronously; what is drawn before it is mapped is lost, and the
    // loading picture is drawn right after this. Wait briefly for the exposure.
    const Uint32 deadline = SDL_GetTicks() + 1000;
    while (!SDL_TICKS_PASSED(SDL_GetTicks(), deadline)) {
      SDL_Event event;
      bool exposed = false;
      while (SDL_PollEvent(&event)) {
        translate(event);
        if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                              event.window.event == SDL_WINDOWEVENT_SHOWN))
          exposed = true;
      }
      if (exposed || options_.windowed) break;
      SDL_Delay(5);
    }
  }

  void setForegroundWindow(WindowHandle window) override {
    if (window == kWindow && window_) SDL_RaiseWindow(window_);
  }

  void setFocus(WindowHandle window) override {
    if (window == kWindow && window_ && !options_.windowed) SDL_SetWindowInputFocus(window_);
  }

  void swapBuffers(DeviceContext dc) override {
    if (dc != kDeviceContext || !window_ || !context_) return;
    if (scaled_.active()) presentScaled();
    // The swap shows what was sent to the GL: the GL 1.1 layer over ES 2.0 may still hold the
    // frame's last primitives.
    glFlush();
    SDL_GL_SwapWindow(window_);
    if (scaled_.active()) scaled_.afterSwap();
  }

  void showPicture(WindowHandle window, const uint8_t* bgrBottomUp, int width,
                   int height) override {
    if (window != kWindow || !window_ || !context_ || !bgrBottomUp) return;
    glPushAttrib(GL_ENABLE_BIT | GL_PIXEL_MODE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    // Top-left corner of the surface, at the picture's own size.
    // GL 1.4, exported by Mesa's libGL and served by the ES 2.0 layer.
    glWindowPos2i(0, surfaceHeight() - height);
    glDrawPixels(width, height, GL_BGR, GL_UNSIGNED_BYTE, bgrBottomUp);
    glPopClientAttrib();
    glPopAttrib();
    swapBuffers(kDeviceContext);
  }

  bool peekMessage(Message& message) override {
    if (queue_.empty()) pumpEvents();
    return queue_.take(message);
  }

  void dispatchMessage(const Message& message) override { windowClass_.dispatch(kWindow, message); }

  void postQuitMessage(int exitCode) override { queue_.postQuit(exitCode); }

  MessageResult defaultWindowProc(WindowHandle, const Message& message) override {
    if (message.message == WM_SYSCOMMAND && message.wParam == SC_CLOSE)
      queue_.postFirst(Message{WM_CLOSE, 0, 0});
    return 0;
  }

  void messageBox(const char* text, const char* caption) override {
    if (options_.quietMessageBoxes || SDL_ShowSimpleMessageBox(0, caption, text, nullptr) != 0)
      report((std::string(caption) + ": " + text).c_str());
  }

  void sleepMs(uint32_t milliseconds) override { SDL_Delay(milliseconds); }

  bool audioInit(int outputRateHz) override {
    if (audioOpen_) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
      return audioFailed("no audio device", SDL_GetError());
    Mix_Init(MIX_INIT_MP3);
    // Chunks of 2048 frames (46 ms): the music answers to nothing, so its latency costs nothing
    // once the start allows for it, while a deeper buffer rides out a busy processor longer
    // before the sound breaks up and falls behind the pictures.
    if (Mix_OpenAudio(outputRateHz, MIX_DEFAULT_FORMAT, 2, 2048) != 0)
      return audioFailed("cannot open the audio device", Mix_GetError());
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&mixer_.rateHz, &format, &channels);
    mixer_.frameBytes = channels * SDL_AUDIO_BITSIZE(format) / 8;
    // Through PulseAudio the server can say how much of ours it holds; elsewhere the device
    // buffer SDL was granted is all that is known.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver && std::string(driver) == "pulseaudio" && pulseProbe_.connect())
      mixer_.probe = &pulseProbe_;
    Mix_SetPostMix(noteMixedChunk, &mixer_);
    audioOpen_ = true;
    return true;
  }

  bool audioStart() override {
    if (!audioOpen_) return false;
    Mix_Resume(-1);
    Mix_ResumeMusic();
    return true;
  }

  StreamHandle streamCreateFile(const char* fileName) override {
    if (!audioOpen_) return 0;
    const std::string path = resolveName(fileName);
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
      audioFailed(fileName, Mix_GetError());
      return 0;
    }
    streams_.push_back(music);
    return StreamHandle(streams_.size());
  }

  bool streamPlay(StreamHandle stream, bool) override {
    if (stream == 0 || stream > streams_.size()) return false;
    mixer_.startPending.store(true);
    // Plays once from the start; the music never loops.
    if (Mix_PlayMusic(streams_[stream - 1], 0) != 0) {
      mixer_.startPending.store(false);
      return false;
    }
    // Returns when the music's first sample is heard, so that the timer started next keeps to
    // what is heard. The audio thread takes that moment as it mixes the music's first chunk.
    Counter& counter = systemCounter();
    const int64_t frequency = counter.frequency();
    for (int waited = 0; waited < 200 && mixer_.startPending.load(); ++waited) SDL_Delay(1);
    if (mixer_.startPending.exchange(false)) return true;  // the audio thread is not running
    // Never more than half a second: a figure beyond that is not to be believed.
    const int64_t heardAt = std::min(mixer_.heardAt.load(), counter.now() + frequency / 2);
    for (int64_t left; (left = heardAt - counter.now()) > 0;)
      if (left > frequency / 500) SDL_Delay(1);
    return true;
  }

 private:
  // What the main thread and the audio thread share about the music's start.
  struct Mixer {
    int rateHz = 0;
    int frameBytes = 0;
    PulseLatencyProbe* probe = nullptr;  // used by the audio thread only while a start is pending
    std::atomic<bool> startPending{false};
    std::atomic<int64_t> heardAt{0};  // counter reading when the music's first sample is heard
  };

  // Runs on the audio thread after each chunk is mixed, just before SDL hands it to the device.
  // The first chunk that holds music holds its first sample at its start; everything queued
  // before it is already in the device's hands, so it is heard once that has played: the sound
  // server says how long that is, else it is the device buffer SDL was granted, one chunk.
  static void noteMixedChunk(void* data, Uint8*, int bytes) {
    auto& mixer = *static_cast<Mixer*>(data);
    if (!mixer.startPending.load() || !Mix_PlayingMusic()) return;
    const int64_t frequency = systemCounter().frequency();
    int64_t latencyUs = 0, at = 0;
    if (!mixer.probe || !mixer.probe->streamLatency(latencyUs, at)) {
      at = systemCounter().now();
      latencyUs = mixer.frameBytes > 0 && mixer.rateHz > 0
                      ? int64_t(bytes) / mixer.frameBytes * 1000000 / mixer.rateHz
                      : 0;
    }
    mixer.heardAt.store(at + latencyUs * frequency / 1000000);
    mixer.startPending.store(false);
  }

  bool initVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_DisableScreenSaver();
    return true;
  }

  bool audioFailed(const char* what, const char* why) {
    if (!audioReported_)
      report(("audio: " + std::string(what) + " (" + why + "); the presentation runs silently")
                 .c_str());
    audioReported_ = true;
    return false;
  }

  int surfaceHeight() const {
    if (scaled_.active()) return logicalHeight_;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    return h;
  }

  // In desktop full screen the program draws into a surface of its own size.
  void prepareSurface() {
    surfaceReady_ = true;
    if (surface_ == Surface::DesktopScaled &&
        !scaled_.create(logicalWidth_, logicalHeight_, SDL_GL_GetProcAddress))
      report("display: no off-screen surface; drawing unscaled");
    clearBothBuffers([this] { swapBuffers(kDeviceContext); });
    scaled_.bind();
  }

  void presentScaled() {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    scaled_.present(w, h);
  }

  void pumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) translate(event);
  }

  void translate(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        // A window manager's close arrives as a window close followed by a quit; that close is
        // already queued. A quit alone (SIGINT, SIGTERM) is a close request too.
        if (!windowCloseSeen_) queue_.post(Message{WM_CLOSE, 0, 0});
        break;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            windowCloseSeen_ = true;
            queue_.post(Message{WM_SYSCOMMAND, SC_CLOSE, 0});
            break;
          case SDL_WINDOWEVENT_MINIMIZED:
            queue_.post(Message{WM_ACTIVATE, WA_INACTIVE | (1u << 16), 0});
            break;
          case SDL_WINDOWEVENT_RESTORED:
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            queue_.post(Message{WM_ACTIVATE, WA_ACTIVE, 0});
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST: {
            const bool minimised = window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED);
            queue_.post(Message{WM_ACTIVATE, WA_INACTIVE | (minimised ? 1u << 16 : 0u), 0});
            break;
          }
          case SDL_WINDOWEVENT_SIZE_CHANGED: {
            int w = logicalWidth_, h = logicalHeight_;
            if (!scaled_.active() && window_) SDL_GL_GetDrawableSize(window_, &w, &h);
            queue_.post(Message{WM_SIZE, 0, packWords(w, h)});
            break;
          }
          default:
            break;
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (const uint32_t vk = virtualKey(event.key.keysym.sym))
          queue_.post(Message{event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, vk, 0});
        break;
      case SDL_MOUSEMOTION:
        queue_.post(Message{WM_MOUSEMOVE, 0, packWords(event.motion.x, event.motion.y)});
        break;
      default:
        break;
    }
  }

  SdlOptions options_;
  WindowClass windowClass_;
  Surface surface_ = Surface::None;
  SDL_DisplayMode chosenMode_{};
  SDL_DisplayMode desktop_{};
  int logicalWidth_ = 800;
  int logicalHeight_ = 600;
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool surfaceReady_ = false;
  ScaledSurface scaled_;
  MessageQueue queue_;
  bool windowCloseSeen_ = false;
  bool audioOpen_ = false;
  bool audioReported_ = false;
  std::vector<Mix_Music*> streams_;
  PulseLatencyProbe pulseProbe_;
  Mixer mixer_;
};

}  // namespace

std::unique_ptr<Platform> createSdlPlatform(const SdlOptions& options) {
  return std::make_unique<SdlPlatform>(options);
}

}  // namespace platform
