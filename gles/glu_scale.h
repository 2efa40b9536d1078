// The image work behind gluBuild2DMipmaps, done as GLU does it so that the levels hold the same
// bytes as with the system's GLU: each side to GLU's nearest power of two, the picture scaled to
// it with GLU's box filter in single precision, and each further level averaged from the one
// before. Unsigned bytes, tightly packed rows.
#pragma once

#include <cstdint>
#include <vector>

namespace gles {

// GLU's rounding of a side to a power of two: down, except that a value whose two top bits
// are both set rounds up.
int gluNearestPower(int value);

// Scales `in` (width x height groups of `components` bytes) to outWidth x outHeight.
std::vector<uint8_t> gluScale(int components, int width, int height, const uint8_t* in,
                              int outWidth, int outHeight);

// The next level: each side halved (down to 1), 2x2 (or 2x1) groups averaged.
std::vector<uint8_t> gluHalve(int components, int width, int height, const uint8_t* in);

}  // namespace gles
