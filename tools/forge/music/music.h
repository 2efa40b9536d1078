// The music "muza_final.mp3": synthesised from source and encoded as MP3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The encoded MP3 file; empty with a reason in `error` on failure.
std::vector<uint8_t> makeMusicMp3(std::string& error);
