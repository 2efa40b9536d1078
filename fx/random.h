// The particle emitter's pseudo-random numbers: the classic linear congruential generator, our own
// code so that the sequence is the same on every platform. State starts at 1.
#pragma once

#include <cstdint>

class RandomGenerator {
 public:
  // 0 to 32767.
  int next() {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFF);
  }
  uint32_t state = 1;
};
