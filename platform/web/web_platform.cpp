#include "platform/web/web_platform.h"

#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <string>

#include "platform/window_emulation.h"

namespace platform {

namespace {

constexpr WindowHandle kWindow = 1;
constexpr DeviceContext kDeviceContext = 1;
constexpr const char* kCanvas = "#canvas";

// How long streamPlay waits, once the page has had its click, for the browser to run the sound:
// past this the presentation starts silent rather than never.
constexpr double kAudioStartLimitMs = 5000.0;
// Past this, an output that claims a longer latency is not waited for.
constexpr double kOutputLatencyLimitMs = 500.0;

// clang-format off
EM_JS(void, webShowPicture, (const uint8_t* bgr, int width, int height), {
  var canvas = document.getElementById('picture');
  canvas.width = width;
  canvas.height = height;
  var context = canvas.getContext('2d');
  var image = context.createImageData(width, height);
  var rgba = image.data;
  // Rows bottom first and blue, green, red, as the program's pictures are; the canvas wants them
  // top first and red, green, blue, opaque.
  for (var y = 0; y < height; y++) {
    var from = bgr + (height - 1 - y) * width * 3;
    var to = y * width * 4;
    for (var x = 0; x < width; x++) {
      rgba[to + 4 * x] = HEAPU8[from + 3 * x + 2];
      rgba[to + 4 * x + 1] = HEAPU8[from + 3 * x + 1];
      rgba[to + 4 * x + 2] = HEAPU8[from + 3 * x];
      rgba[to + 4 * x + 3] = 255;
    }
  }
  context.putImageData(image, 0, 0);
  canvas.style.display = 'block';
});

EM_JS(void, webHidePicture, (), {
  document.getElementById('picture').style.display = 'none';
});

EM_JS(void, webShowCursor, (int visible), {
  document.body.style.cursor = visible ? 'default' : 'none';
});

// In-page, since a browser's own alert would stop the page: the caption and text, and an OK button
// that takes the box away. Boxes shown one after another stack in their order.
EM_JS(void, webMessageBox, (const char* text, const char* caption), {
  var box = document.createElement('div');
  box.className = 'message-box';
  box.setAttribute('role', 'alertdialog');
  var title = document.createElement('div');
  title.className = 'caption';
  title.textContent = UTF8ToString(caption);
  var body = document.createElement('p');
  body.textContent = UTF8ToString(text);
  var ok = document.createElement('button');
  ok.textContent = 'OK';
  ok.onclick = function() { box.remove(); };
  box.appendChild(title);
  box.appendChild(body);
  box.appendChild(ok);
  document.getElementById('boxes').appendChild(box);
  ok.focus();
});

// The page counts a click or key press from its first moment; the program only asks.
EM_JS(int, webGestureSeen, (), {
  return Module['demoGesture'] ? 1 : 0;
});

EM_JS(void, webShowStartPrompt, (int visible), {
  document.getElementById('prompt').style.display = visible ? 'block' : 'none';
});

EM_JS(int, webAudioInit, (), {
  var AudioContextType = window.AudioContext || window.webkitAudioContext;
  if (!AudioContextType) return 0;
  // The page resumes it at the click: browsers keep a context made before a gesture suspended.
  Module['demoAudio'] = new AudioContextType();
  Module['demoStreams'] = [];
  return 1;
});

// Reads the whole file from the in-memory file system and has the browser decode it; the stream is
// ready once the decoding has finished. Returns the stream's number from 1, 0 on failure.
EM_JS(int, webStreamCreate, (const char* name), {
  var context = Module['demoAudio'];
  if (!context) return 0;
  var bytes;
  try {
    bytes = FS.readFile(UTF8ToString(name));
  } catch (e) {
    return 0;
  }
  var stream = {buffer: null, failed: false, source: null, startTime: 0};
  Module['demoStreams'].push(stream);
  var copy = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
  context.decodeAudioData(copy, function(buffer) { stream.buffer = buffer; },
                          function() { stream.failed = true; });
  return Module['demoStreams'].length;
});

// One step of starting a stream: 1 when it is playing, 0 while the context or the decoding is not
// yet ready, -1 when it cannot play. It is asked again until it answers, so the sound starts at the
// moment the program goes on to start its timer.
EM_JS(int, webStreamStart, (int handle, int restart), {
  var context = Module['demoAudio'];
  var stream = Module['demoStreams'] ? Module['demoStreams'][handle - 1] : null;
  if (!context || !stream || stream.failed) return -1;
  if (stream.source && !restart) return 1;
  if (context.state !== 'running') {
    context.resume();
    return 0;
  }
  if (!stream.buffer) return 0;
  if (stream.source) stream.source.stop();
  stream.source = context.createBufferSource();
  stream.source.buffer = stream.buffer;
  stream.source.connect(context.destination);
  stream.startTime = context.currentTime;
  stream.source.start(stream.startTime);
  return 1;
});

// Whether the stream's first sample has reached the loudspeaker: the context renders ahead of what
// is heard by the output's latency. The output timestamp says which context time is heard at which
// page time; browsers without it give their latency figures.
EM_JS(int, webStreamHeard, (int handle), {
  var context = Module['demoAudio'];
  var stream = Module['demoStreams'][handle - 1];
  var heard;
  var stamp = context.getOutputTimestamp ? context.getOutputTimestamp() : null;
  if (stamp && stamp.contextTime > 0) {
    heard = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
  } else {
    heard = context.currentTime - (context.outputLatency || 0) - (context.baseLatency || 0);
  }
  return heard >= stream.startTime ? 1 : 0;
});

EM_JS(void, webEnded, (int exitCode), {
  if (Module['demoEnded']) Module['demoEnded'](exitCode);
});

// The stepped time mode is the page's (it reads its address); these only ask and tell it.
EM_JS(int, webSteppedFpsJs, (), {
  return Module['demoStepped'] ? Module['demoStepped'].fps : 0;
});

EM_JS(int, webSteppedHeldJs, (), {
  return Module['demoStepped'] && Module['demoStepped'].held !== null ? 1 : 0;
});

EM_JS(void, webSteppedFrameShownJs, (double ms), {
  if (Module['demoStepped']) Module['demoStepped'].shown(ms);
});
// clang-format on

uint32_t keyMessage(int eventType) {
  return eventType == EMSCRIPTEN_EVENT_KEYDOWN ? WM_KEYDOWN : WM_KEYUP;
}

class WebPlatform;
// The platform the page's stop button speaks to.
WebPlatform* livePlatform = nullptr;

class WebPlatform final : public Platform {
 public:
  WebPlatform() : stepped_(webSteppedFpsJs() > 0) { livePlatform = this; }
  ~WebPlatform() override {
    if (context_) emscripten_webgl_destroy_context(context_);
    if (livePlatform == this) livePlatform = nullptr;
  }

  // What Escape does: the main loop ends at its next pass with nothing to do.
  void stop() {
    if (windowOpen_) queue_.post(Message{WM_KEYDOWN, VK_ESCAPE, 0});
  }

  bool registerWindowClass(const char* className, MessageHandler handler) override {
    return windowClass_.add(className, handler);
  }

  bool unregisterWindowClass(const char* className) override {
    return windowClass_.remove(className);
  }

  // The page is the screen: the canvas keeps its 800x600 and the page scales it to fit.
  bool changeDisplayMode(const DisplayModeRequest& mode) override { return true; }
  void restoreDisplayMode() override {}
  void showCursor(bool visible) override { webShowCursor(visible ? 1 : 0); }

  WindowHandle createWindow(const char* className, const char* title, int width,
                            int height) override {
    if (!windowClass_.named(className)) return 0;
    if (emscripten_set_canvas_element_size(kCanvas, width, height) != EMSCRIPTEN_RESULT_SUCCESS)
      return 0;
    emscripten_set_window_title(title ? title : "");
    listen(true);
    windowOpen_ = true;
    return kWindow;
  }

  bool destroyWindow(WindowHandle window) override {
    if (window != kWindow || !windowOpen_) return false;
    listen(false);
    windowOpen_ = false;
    return true;
  }

  DeviceContext getDeviceContext(WindowHandle window) override {
    return window == kWindow && windowOpen_ ? kDeviceContext : 0;
  }
  bool releaseDeviceContext(WindowHandle window, DeviceContext dc) override {
    return window == kWindow && dc == kDeviceContext;
  }

  int choosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override {
    return dc == kDeviceContext ? 1 : 0;
  }
  bool setPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override {
    if (dc != kDeviceContext || format != 1) return false;
    depthBits_ = request.depthBits;
    return true;
  }

  // WebGL 1, which is what gles/ needs of OpenGL ES 2.0: no alpha in the page's picture, a depth
  // buffer, no multisampling (the other systems have none either).
  RenderContext createRenderContext(DeviceContext dc) override {
    if (dc != kDeviceContext || context_) return 0;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = depthBits_ > 0;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    context_ = emscripten_webgl_create_context(kCanvas, &attributes);
    return context_ > 0 ? RenderContext(context_) : 0;
  }

  bool makeCurrent(DeviceContext dc, RenderContext rc) override {
    if (!dc && !rc) return emscripten_webgl_make_context_current(0) == EMSCRIPTEN_RESULT_SUCCESS;
    if (dc != kDeviceContext || !rc || EMSCRIPTEN_WEBGL_CONTEXT_HANDLE(rc) != context_)
      return false;
    return emscripten_webgl_make_context_current(context_) == EMSCRIPTEN_RESULT_SUCCESS;
  }

  bool deleteRenderContext(RenderContext rc) override {
    if (!rc || EMSCRIPTEN_WEBGL_CONTEXT_HANDLE(rc) != context_) return false;
    const bool deleted = emscripten_webgl_destroy_context(context_) == EMSCRIPTEN_RESULT_SUCCESS;
    context_ = 0;
    return deleted;
  }

  void showWindow(WindowHandle window) override {}
  void setForegroundWindow(WindowHandle window) override {}
  void setFocus(WindowHandle window) override {}

  // The browser shows what was drawn when the animation frame returns; the loading picture laid
  // over the canvas goes with the first frame.
  void swapBuffers(DeviceContext dc) override {
    // The frame's last primitives may still be in the GL layer's batch.
    glFlush();
    if (pictureShown_) {
      webHidePicture();
      pictureShown_ = false;
    }
  }

  void showPicture(WindowHandle window, const uint8_t* bgrBottomUp, int width,
                   int height) override {
    if (window != kWindow || !bgrBottomUp || width <= 0 || height <= 0) return;
    webShowPicture(bgrBottomUp, width, height);
    pictureShown_ = true;
  }

  bool peekMessage(Message& message) override { return queue_.take(message); }

  void dispatchMessage(const Message& message) override { windowClass_.dispatch(kWindow, message); }

  void postQuitMessage(int exitCode) override { queue_.postQuit(exitCode); }

  MessageResult defaultWindowProc(WindowHandle window, const Message& message) override {
    if (message.message == WM_CLOSE) queue_.postQuit(0);
    return 0;
  }

  void messageBox(const char* text, const char* caption) override {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    webMessageBox(text ? text : "", caption ? caption : "");
  }

  // Hands the page back to the browser meanwhile, so that what was put on it is shown. The stepped
  // time mode has no wall clock to wait for.
  void sleepMs(uint32_t milliseconds) override { emscripten_sleep(stepped_ ? 0 : milliseconds); }

  // The browser picks the output rate; Web Audio resamples the decoded music to it.
  bool audioInit(int outputRateHz) override {
    audioOpen_ = webAudioInit() != 0;
    return audioOpen_;
  }
  bool audioStart() override { return audioOpen_; }

  StreamHandle streamCreateFile(const char* fileName) override {
    if (!audioOpen_ || !fileName) return 0;
    return StreamHandle(webStreamCreate(fileName));
  }

  // Browsers let a page make sound only after a click or key press, so the presentation starts
  // there: this waits for it (the page shows the loading picture with its prompt meanwhile), then
  // for the sound to run, and returns as its first sample is heard, so that the timer the program
  // starts next keeps to what the viewer hears. Without music it still waits, so that the
  // presentation always starts at the click.
  bool streamPlay(StreamHandle stream, bool restart) override {
    // The stepped time mode is silent and starts at once, as a capture does.
    if (stepped_) return false;
    if (!webGestureSeen()) {
      webShowStartPrompt(1);
      while (!webGestureSeen()) emscripten_sleep(10);
      webShowStartPrompt(0);
    }
    if (!stream) return false;
    const double limit = emscripten_get_now() + kAudioStartLimitMs;
    int started = 0;
    while ((started = webStreamStart(int(stream), restart ? 1 : 0)) == 0) {
      if (emscripten_get_now() > limit) {
        report("audio: the browser did not start the sound; the presentation runs silent");
        return false;
      }
      emscripten_sleep(1);
    }
    if (started < 0) return false;
    const double heardLimit = emscripten_get_now() + kOutputLatencyLimitMs;
    while (!webStreamHeard(int(stream)) && emscripten_get_now() < heardLimit) emscripten_sleep(1);
    return true;
  }

 private:
  // The window's messages while it is open: keys anywhere on the page (the browser keeps its own
  // use of some: reload, full screen) and the page's visibility.
  void listen(bool open) {
    void* user = open ? this : nullptr;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, user, 1,
                                    open ? onKey : nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, user, 1, open ? onKey : nullptr);
    emscripten_set_visibilitychange_callback(user, 1, open ? onVisibility : nullptr);
  }

  static EM_BOOL onKey(int eventType, const EmscriptenKeyboardEvent* event, void* user) {
    auto* self = static_cast<WebPlatform*>(user);
    // The legacy key code is the Windows virtual-key code for the keys the program knows.
    if (event->keyCode > 0 && event->keyCode < 256 &&
        !(eventType == EMSCRIPTEN_EVENT_KEYDOWN && event->repeat))
      self->queue_.post(Message{keyMessage(eventType), event->keyCode, 0});
    return 0;
  }

  static EM_BOOL onVisibility(int eventType, const EmscriptenVisibilityChangeEvent* event,
                              void* user) {
    auto* self = static_cast<WebPlatform*>(user);
    // A hidden page is a minimised window: no frames until it is back.
    self->queue_.post(event->hidden ? Message{WM_ACTIVATE, WA_INACTIVE | (1u << 16), 0}
                                    : Message{WM_ACTIVATE, WA_ACTIVE, 0});
    return 0;
  }

  const bool stepped_;
  WindowClass windowClass_;
  bool windowOpen_ = false;
  int depthBits_ = 16;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
  bool pictureShown_ = false;
  bool audioOpen_ = false;
  MessageQueue queue_;
};

}  // namespace

bool glContextCurrent() {
  return emscripten_webgl_get_current_context() != 0;
}

std::unique_ptr<Platform> createWebPlatform() {
  return std::make_unique<WebPlatform>();
}

void webProgramEnded(int exitCode) {
  webEnded(exitCode);
}

int webSteppedFps() {
  return webSteppedFpsJs();
}

bool webSteppedHeld() {
  return webSteppedHeldJs() != 0;
}

void webSteppedFrameShown(int64_t ms) {
  webSteppedFrameShownJs(double(ms));
}

}  // namespace platform

// The page's stop button and stop key.
extern "C" EMSCRIPTEN_KEEPALIVE void demo_stop() {
  if (platform::livePlatform) platform::livePlatform->stop();
}
