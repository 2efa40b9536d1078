// What the presentation asks of the screen when it opens its window: its title, and full screen
// at 800x600 with 32-bit colour. The generator paints the same title into the closing picture.
#pragma once

inline constexpr const char* kPresentationTitle = "Karvenel / Olmetra / Quillory 2oo4";
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kScreenBits = 32;
