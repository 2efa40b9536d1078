// Pixel rows read tightly packed for the life of a scope.
#pragma once

#include "gfx/gl.h"

// Our pictures' rows are exactly width * 3 bytes; GL's default unpack alignment of 4 would read
// past the end of every row whose length is not a multiple of 4. For rows that are (all the pack's
// pictures) the upload is the same either way. The previous alignment comes back at the scope's
// end.
class TightRows {
 public:
  TightRows() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightRows() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous_); }
  TightRows(const TightRows&) = delete;
  TightRows& operator=(const TightRows&) = delete;

 private:
  GLint previous_ = 4;
};
