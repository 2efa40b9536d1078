// Writing an asset pack: the entries in the given order, each a NUL-terminated name, a 32-bit
// little-endian size and the content. The unpacker stops after "skora.tga", so it must come last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PackEntry {
  std::string name;
  std::vector<uint8_t> content;
};

// False with a reason when a name would be refused by the unpacker, "skora.tga" is missing or not
// last, or the file cannot be written.
bool writePack(const char* path, const std::vector<PackEntry>& entries, std::string& error);
