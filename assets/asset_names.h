// The names of the loose files the presentation loads, as its loaders spell them, and as the
// generator names the pack's entries. The removal list in data_pack.cpp keeps its own spellings
// ("c00.3DS"): a loose file is looked up without regard to letter case.
#pragma once

namespace assetname {

inline constexpr const char* kSceneC00 = "c00.3ds";
inline constexpr const char* kSceneC01 = "c01.3ds";
inline constexpr const char* kSceneC02 = "c02.3ds";
inline constexpr const char* kSceneC05 = "c05.3ds";
inline constexpr const char* kHead = "ex_glowa_new.3ds";  // the head's own format, not 3DS chunks
inline constexpr const char* kMusic = "muza_final.mp3";
inline constexpr const char* kBackground = "back01.tga";
inline constexpr const char* kBone = "czacha.tga";
inline constexpr const char* kLoading = "loading.tga";
inline constexpr const char* kFlesh = "mozg.tga";
inline constexpr const char* kFrameDown = "s_down.tga";
inline constexpr const char* kEnd = "s_end.tga";
inline constexpr const char* kStrip = "s_l.tga";
inline constexpr const char* kFrameLeft = "s_left.tga";
inline constexpr const char* kMetal = "s_p.tga";
inline constexpr const char* kFrameRight = "s_right.tga";
inline constexpr const char* kFrameTop = "s_top.tga";
// The skin; also the pack's last entry, after which the unpacker stops reading.
inline constexpr const char* kSkin = "skora.tga";

}  // namespace assetname
