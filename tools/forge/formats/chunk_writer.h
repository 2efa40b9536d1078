// Our 3DS chunk writer: nested chunks of a 16-bit id and a 32-bit length that counts the whole
// chunk, header included, patched in when the chunk is closed.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/forge/formats/byte_writer.h"

namespace assetgen {

class ChunkWriter {
 public:
  void begin(uint16_t id);
  // Closes the innermost open chunk; false when none is open.
  bool end();
  bool allClosed() const { return open_.empty(); }
  ByteWriter& out() { return out_; }
  std::vector<uint8_t> take() { return out_.take(); }

 private:
  ByteWriter out_;
  std::vector<size_t> open_;  // start offsets of the chunks not yet closed
};

}  // namespace assetgen
