// The generated assets in pack order, each made on demand: a name, the bytes and a one-line
// description for the progress output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/forge/pictures/picture.h"

namespace assetgen {

struct ForgedFile {
  std::string name;
  std::vector<uint8_t> bytes;
  std::string summary;  // "800x600", "5666 vertices, 11328 triangles", ...
  Picture preview;      // set for pictures
};

struct AssetMaker {
  const char* name;
  // False with a reason on failure.
  std::function<bool(ForgedFile&, std::string&)> make;
};

// The 18 entries of the pack in order, "skora.tga" last.
std::vector<AssetMaker> assetMakers();

}  // namespace assetgen
