// Desktop full screen on a screen without an 800x600 mode: the program draws into a surface of its
// own size, and each presented frame is scaled onto the window with its aspect kept and black
// bars. The surface is a framebuffer object where the driver has one (its entry points are not
// part of GL 1.1, so the system's GL library is asked for them); otherwise the program draws into
// the back buffer's lower-left corner, which is copied into a texture and drawn back scaled.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// The address of a GL entry point by name, or null: wglGetProcAddress, SDL_GL_GetProcAddress.
using GlProcLookup = void* (*)(const char* name);

class ScaledSurface {
 public:
  // With the context current. False when neither way is available.
  bool create(int width, int height, GlProcLookup lookup);
  // Binds the surface for the next frame's drawing.
  void bind();
  // Scales the drawn frame onto the window's back buffer of windowWidth x windowHeight; the
  // caller then swaps.
  void present(int windowWidth, int windowHeight);
  // After the swap: the next frame draws into the surface again. The copy path's corner of the
  // back buffer is cleared, so the letterbox bands the program never draws stay black.
  void afterSwap();
  // Forgets the GL objects (they go with the context).
  void reset();
  bool usesFramebuffer() const { return framebuffer_ != 0; }
  bool active() const { return framebuffer_ != 0 || texture_ != 0; }

 private:
  bool createFramebuffer(GlProcLookup lookup);
  void presentFramebuffer(int x, int y, int width, int height);
  void presentTexture(int windowWidth, int windowHeight, int x, int y, int width, int height);

  int width_ = 0;  // the program's picture size, pixels
  int height_ = 0;
  uint32_t framebuffer_ = 0;
  uint32_t texture_ = 0;  // copy target when there is no framebuffer object
  int textureSize_ = 0;   // power-of-two side of that texture
};

// A fresh surface shows black in both buffers, so the letterbox bands never show garbage: both
// are cleared through `swap` (the platform's present and swap), keeping the program's clear colour.
void clearBothBuffers(const std::function<void()>& swap);

}  // namespace platform
