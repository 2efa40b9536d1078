#include "assets/data_pack.h"

const char* const unpackedFileNames[18] = {
    "c00.3DS",    "c01.3DS",    "c02.3DS",     "c05.3DS",     "ex_glowa_new.3DS", "muza_final.mp3",
    "back01.tga", "czacha.tga", "loading.tga", "mozg.tga",    "s_down.tga",       "s_end.tga",
    "s_l.tga",    "s_left.tga", "s_p.tga",     "s_right.tga", "s_top.tga",        "skora.tga"};
int32_t packFinished = 0;

UnpackResult unpackPack(const char*, const char*) {
  return {};
}
bool unpackDataPack() {
  return true;
}
void removeUnpackedFiles() {}
bool isSafeEntryName(const std::string&) {
  return false;
}
