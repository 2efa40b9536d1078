// The options that every command running the presentation headless shares, described once.
#pragma once

#include <cstdint>
#include <string>

#include "tools/common/command_line.h"

namespace headless {

constexpr uint32_t kDefaultLastFrameMs = 17000;  // a second into the end scene

// --data FILE; left empty, the command takes defaultPackPath().
inline cli::Option packOption(std::string& pack) {
  return cli::textOption("--data", "FILE",
                         "the asset pack (run/data.dat beside demotool if not given)", pack);
}

// --fps N: frame i at i * 1000 / N ms.
inline cli::Option fpsOption(uint32_t& fps, bool* given = nullptr) {
  return cli::numberOption("--fps", "N", "frames per second; frame i is at i*1000/N ms", fps, 1,
                           1000, given);
}

// --to MS: the last frame time, included.
inline cli::Option lastFrameOption(uint32_t& toMs) {
  return cli::numberOption("--to", "MS", "last frame time, included", toMs, 0, UINT32_MAX);
}

}  // namespace headless
