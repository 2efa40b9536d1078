// Little-endian byte output for the generator's file writers (head mesh, 3DS chunks).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/little_endian.h"
#include "gfx/vec3.h"

namespace assetgen {

class ByteWriter {
 public:
  void u8(uint8_t v) { bytes_.push_back(v); }
  void u16(uint16_t v) { storeU16Le(grow(2), v); }
  void u32(uint32_t v) { storeU32Le(grow(4), v); }
  void f32(float v) { storeF32Le(grow(4), v); }
  void vec3(Vec3 v) {
    f32(v.x);
    f32(v.y);
    f32(v.z);
  }
  // The characters and a terminating NUL.
  void cstring(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    u8(0);
  }
  // Overwrites four bytes at `offset` (a chunk length written after its content).
  void patchU32(size_t offset, uint32_t v) { storeU32Le(&bytes_[offset], v); }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t> take() { return std::move(bytes_); }

 private:
  uint8_t* grow(size_t n) {
    bytes_.resize(bytes_.size() + n);
    return &bytes_[bytes_.size() - n];
  }

  std::vector<uint8_t> bytes_;
};

}  // namespace assetgen
