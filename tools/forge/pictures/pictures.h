// The painters of every picture in the pack. Each returns a finished picture of its fixed size;
// all randomness comes from fixed seeds.
#pragma once

#include "tools/forge/pictures/picture.h"

namespace assetgen {

// The title shared by the loading and closing pictures (and the window).
extern const char* const kTitle;

Picture paintLoading();     // "loading.tga", 800x600, letterbox bands black
Picture paintEnd();         // "s_end.tga", 800x600, masked: title and credits on black
Picture paintBackground();  // "back01.tga", 800x600, dark and low in contrast

Picture paintFrameSide(bool right);  // "s_left.tga" / "s_right.tga", 21x600, masked
Picture paintFrameBar(bool bottom);  // "s_top.tga" / "s_down.tga", 332x43, masked
Picture paintStrip();                // "s_l.tga", 48x256, light strokes on black (added)

// Textures uploaded without mipmaps: power-of-two sizes. Bone, flesh and metal tile, so the
// texture maps of the 3DS sets may repeat them.
Picture paintSkin();   // "skora.tga", 512x512
Picture paintBone();   // "czacha.tga", 256x256
Picture paintFlesh();  // "mozg.tga", 256x256
Picture paintMetal();  // "s_p.tga", 256x256: engraved, scratched, rusting steel plates

// A lit metal stud of radius r centred at (cx, cy), drawn over what is there.
void drawRivet(Picture& picture, float cx, float cy, float r, Rgb tone);

}  // namespace assetgen
