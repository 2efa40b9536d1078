// Where a picture lands when it is scaled onto a larger surface with its aspect kept.
#pragma once

#include <cstdint>

namespace platform {

struct Rect {
  int x, y, width, height;
};

// The largest rectangle of the picture's aspect that fits the surface, centred; the rest of the
// surface is the black bars.
inline Rect fitPicture(int surfaceWidth, int surfaceHeight, int pictureWidth, int pictureHeight) {
  Rect r{0, 0, surfaceWidth, int(int64_t(surfaceWidth) * pictureHeight / pictureWidth)};
  if (r.height > surfaceHeight) {
    r.height = surfaceHeight;
    r.width = int(int64_t(surfaceHeight) * pictureWidth / pictureHeight);
  }
  r.x = (surfaceWidth - r.width) / 2;
  r.y = (surfaceHeight - r.height) / 2;
  return r;
}

}  // namespace platform
