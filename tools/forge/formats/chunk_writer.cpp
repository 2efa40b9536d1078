// Chunk nesting: each begin writes a header with a placeholder length, each end fills it in.
#include "tools/forge/formats/chunk_writer.h"

namespace assetgen {

void ChunkWriter::begin(uint16_t id) {
  open_.push_back(out_.size());
  out_.u16(id);
  out_.u32(0);
}

bool ChunkWriter::end() {
  if (open_.empty()) return false;
  const size_t start = open_.back();
  open_.pop_back();
  out_.patchU32(start + 2, uint32_t(out_.size() - start));
  return true;
}

}  // namespace assetgen
