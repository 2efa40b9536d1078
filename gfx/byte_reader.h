// Bounds-checked little-endian reading from a buffer in memory. The readers parse bytes through
// this, so tests and fuzzers feed them directly; opening a file by name is a thin step on top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/little_endian.h"

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t size() const { return size_; }
  size_t position() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }
  bool atEnd() const { return pos_ >= size_; }

  // Each read fails, and consumes nothing, when fewer bytes are left than it needs.
  bool readU8(uint8_t& v) { return readRaw(&v, 1); }
  bool readU16(uint16_t& v) {
    uint8_t b[2];
    if (!readRaw(b, 2)) return false;
    v = loadU16Le(b);
    return true;
  }
  bool readU32(uint32_t& v) {
    uint8_t b[4];
    if (!readRaw(b, 4)) return false;
    v = loadU32Le(b);
    return true;
  }
  bool readF32(float& v) {
    uint8_t b[4];
    if (!readRaw(b, 4)) return false;
    v = loadF32Le(b);
    return true;
  }
  bool readBytes(void* out, size_t n) { return readRaw(out, n); }
  // Moves relative to the current position; fails, and stays, if that leaves [0, size].
  bool skip(int64_t distance) {
    if (distance < 0 ? uint64_t(-distance) > pos_ : uint64_t(distance) > remaining()) return false;
    pos_ = size_t(int64_t(pos_) + distance);
    return true;
  }
  const uint8_t* current() const { return data_ + pos_; }

 private:
  bool readRaw(void* out, size_t n) {
    if (n > remaining()) return false;
    if (n) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};
