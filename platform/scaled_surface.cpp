#include "platform/scaled_surface.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/letterbox.h"

namespace platform {
namespace {

// Framebuffer-object entry points: not part of GL 1.1, so fetched from the driver.
struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

  template <typename T>
  static void fetch(T& call, GlProcLookup lookup, const char* name) {
    call = reinterpret_cast<T>(lookup(name));
  }

  bool load(GlProcLookup lookup) {
    fetch(genFramebuffers, lookup, "glGenFramebuffers");
    fetch(bindFramebuffer, lookup, "glBindFramebuffer");
    fetch(genRenderbuffers, lookup, "glGenRenderbuffers");
    fetch(bindRenderbuffer, lookup, "glBindRenderbuffer");
    fetch(renderbufferStorage, lookup, "glRenderbufferStorage");
    fetch(framebufferRenderbuffer, lookup, "glFramebufferRenderbuffer");
    fetch(checkFramebufferStatus, lookup, "glCheckFramebufferStatus");
    fetch(blitFramebuffer, lookup, "glBlitFramebuffer");
    return genFramebuffers && bindFramebuffer && genRenderbuffers && bindRenderbuffer &&
           renderbufferStorage && framebufferRenderbuffer && checkFramebufferStatus &&
           blitFramebuffer;
  }
};

FramebufferCalls fbo;

void clearBlack() {
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

}  // namespace

bool ScaledSurface::create(int width, int height, GlProcLookup lookup) {
  width_ = width;
  height_ = height;
  if (createFramebuffer(lookup)) return true;
  // No framebuffer object: the frame is drawn into the back buffer's corner and copied out.
  textureSize_ = 1;
  while (textureSize_ < width || textureSize_ < height) textureSize_ *= 2;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (textureSize_ > maxSize) return false;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureSize_, textureSize_, 0, GL_RGB, GL_UNSIGNED_BYTE,
               nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  texture_ = texture;
  return glGetError() == GL_NO_ERROR;
}

bool ScaledSurface::createFramebuffer(GlProcLookup lookup) {
  if (!lookup || !fbo.load(lookup)) return false;
  GLuint framebuffer = 0, colour = 0, depth = 0;
  fbo.genFramebuffers(1, &framebuffer);
  fbo.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  fbo.genRenderbuffers(1, &colour);
  fbo.bindRenderbuffer(GL_RENDERBUFFER, colour);
  fbo.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width_, height_);
  fbo.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
  fbo.genRenderbuffers(1, &depth);
  fbo.bindRenderbuffer(GL_RENDERBUFFER, depth);
  fbo.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
  fbo.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
  fbo.bindRenderbuffer(GL_RENDERBUFFER, 0);
  if (fbo.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
    return false;
  }
  framebuffer_ = framebuffer;
  return true;
}

void ScaledSurface::bind() {
  if (framebuffer_) fbo.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void ScaledSurface::present(int windowWidth, int windowHeight) {
  if (!active() || windowWidth <= 0 || windowHeight <= 0) return;
  const Rect r = fitPicture(windowWidth, windowHeight, width_, height_);
  if (framebuffer_)
    presentFramebuffer(r.x, r.y, r.width, r.height);
  else
    presentTexture(windowWidth, windowHeight, r.x, r.y, r.width, r.height);
}

void ScaledSurface::presentFramebuffer(int x, int y, int width, int height) {
  fbo.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  fbo.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glPushAttrib(GL_SCISSOR_BIT);
  glDisable(GL_SCISSOR_TEST);
  clearBlack();
  fbo.blitFramebuffer(0, 0, width_, height_, x, y, x + width, y + height, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
  glPopAttrib();
  fbo.bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ScaledSurface::presentTexture(int windowWidth, int windowHeight, int x, int y, int width,
                                   int height) {
  // Every piece of state the copy touches is put back: the program relies on what it left.
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glBindTexture(GL_TEXTURE_2D, texture_);
  glReadBuffer(GL_BACK);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width_, height_);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glViewport(0, 0, windowWidth, windowHeight);
  clearBlack();
  const float s = float(width_) / float(textureSize_), t = float(height_) / float(textureSize_);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2i(x, y);
  glTexCoord2f(s, 0), glVertex2i(x + width, y);
  glTexCoord2f(s, t), glVertex2i(x + width, y + height);
  glTexCoord2f(0, t), glVertex2i(x, y + height);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

void ScaledSurface::afterSwap() {
  if (framebuffer_) {
    fbo.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  } else if (texture_) {
    glPushAttrib(GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    clearBlack();
    glPopAttrib();
  }
}

void clearBothBuffers(const std::function<void()>& swap) {
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glClearColor(0, 0, 0, 0);
  for (int i = 0; i < 2; ++i) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    swap();
  }
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void ScaledSurface::reset() {
  framebuffer_ = 0;
  texture_ = 0;
}

}  // namespace platform
