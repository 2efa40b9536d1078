#include "assets/pack_writer.h"

#include "assets/data_pack.h"
#include "platform/files.h"

bool writePack(const char* path, const std::vector<PackEntry>& entries, std::string& error) {
  if (entries.empty() || entries.back().name != "skora.tga") {
    error = "the entry \"skora.tga\" must come last";
    return false;
  }
  std::vector<uint8_t> bytes;
  for (const PackEntry& e : entries) {
    if (!isSafeEntryName(e.name)) {
      error = "entry name \"" + e.name + "\" would be refused by the unpacker";
      return false;
    }
    if (e.content.size() > 0xFFFFFFFFu) {
      error = "entry \"" + e.name + "\" is larger than 4 GiB";
      return false;
    }
    bytes.insert(bytes.end(), e.name.begin(), e.name.end());
    bytes.push_back(0);
    const uint32_t size = uint32_t(e.content.size());
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(size >> (8 * i)));
    bytes.insert(bytes.end(), e.content.begin(), e.content.end());
  }
  platform::File out = platform::File::create(path);
  if (!out.isOpen() || !out.write(bytes.data(), bytes.size()) || !out.close()) {
    error = std::string("cannot write ") + path;
    return false;
  }
  return true;
}
