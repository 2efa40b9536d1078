#include "assets/pack_writer.h"

#include "assets/asset_names.h"
#include "assets/data_pack.h"
#include "gfx/little_endian.h"
#include "platform/files.h"

bool writePack(const char* path, const std::vector<PackEntry>& entries, std::string& error) {
  if (entries.empty() || entries.back().name != assetname::kSkin) {
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
    uint8_t sizeField[4];
    storeU32Le(sizeField, uint32_t(e.content.size()));
    bytes.insert(bytes.end(), sizeField, sizeField + 4);
    bytes.insert(bytes.end(), e.content.begin(), e.content.end());
  }
  platform::File out = platform::File::create(path);
  if (!out.isOpen() || !out.write(bytes.data(), bytes.size()) || !out.close()) {
    error = std::string("cannot write ") + path;
    return false;
  }
  return true;
}
