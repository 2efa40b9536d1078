// What the parity tests share: the moments compared, the native capture that draws them, and the
// bounds within which another renderer's picture of a moment counts as the same picture.
#pragma once

#include <string>

#include "png_reader.h"

namespace parity {

struct Moment {
  const char* name;
  int timeMs;  // -1: the loading picture
};

inline constexpr Moment kMoments[] = {
    {"loading", -1},    {"flash", 1100},    {"scene 1", 3000},
    {"scene 2", 7000},  {"scene 3", 11000}, {"scene 4", 12200},
    {"scene 5", 13500}, {"scene 6", 15500}, {"end", 17000},
};

// Frames at 10 per second: frame i is at i * 100 ms.
constexpr int kFps = 10;
constexpr int kLastMs = 17000;

std::string env(const char* name);

// One `demotool capture` of every frame up to kLastMs and the loading picture into `folder`, from
// the pack $DATA_PACK.
bool captureMoments(const std::string& demotool, const std::string& folder, std::string& error);
// Where captureMoments put the moment's picture.
std::string capturedPath(const std::string& folder, const Moment& moment);

// Prints how far `other` is from `reference` and fails the test when it is beyond the bounds or
// when the reference shows almost nothing (black on both sides would match trivially).
struct Bounds {
  double maxMeanPerChannel;  // in 1/255 steps
  double minShareWithin;     // of the pixels whose channels all lie within 4/255
  int radius;                // pixels an edge may lie apart
};
// The GL layer over ES 2.0 on Mesa against Mesa's GL 1.1: one rasterizer, so the same pixels but
// for rounding (a little above the largest figures measured over these moments: mean at most 0.04
// in scene 3, every pixel within the tolerance).
inline constexpr Bounds kSameRasterizer = {0.1, 0.999, 0};
// Another rasterizer (Chromium's SwiftShader) against Mesa's: edges a pixel apart and texels
// rounded their own way (measured: means up to 0.46/255, 98.6 % within in scene 2, with edges a
// pixel apart; without, 1.19/255 and 97.7 %). A texture not modulated, a missing flash or a lost
// normalisation gives means of 4/255 and more.
inline constexpr Bounds kOtherRasterizer = {1.0, 0.98, 1};

void expectAlike(const RgbPicture& reference, const RgbPicture& other, const char* name,
                 const Bounds& bounds);

}  // namespace parity
