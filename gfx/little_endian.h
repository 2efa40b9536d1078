// Little-endian loads and stores of the fixed-size fields in our file formats (TGA, the head mesh,
// 3DS chunks, the pack), independent of the machine's own byte order.
#pragma once

#include <cstdint>
#include <cstring>

inline uint16_t loadU16Le(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t loadU32Le(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline float loadF32Le(const uint8_t* p) {
  const uint32_t bits = loadU32Le(p);
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

inline void storeU16Le(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v & 0xFF);
  p[1] = uint8_t(v >> 8);
}

inline void storeU32Le(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

inline void storeF32Le(uint8_t* p, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  storeU32Le(p, bits);
}
