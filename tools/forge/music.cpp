#include "tools/forge/music.h"

std::vector<uint8_t> makeMusicMp3(std::string& error) {
  error = "the music generator is not built yet";
  return {};
}
