// Procedural noise for the generated pictures: hashed lattice values, tileable value noise, fractal
// sums and cellular (Worley) distances. Everything is a pure function of its inputs and a seed, so
// the pictures come out byte-identical on every run.
#pragma once

#include <cstdint>

namespace assetgen {

// A well-mixed 32-bit hash of a lattice point and a seed.
uint32_t hash3(int32_t x, int32_t y, uint32_t seed);
// The hash as a float in [0, 1).
float hashUnit(int32_t x, int32_t y, uint32_t seed);

// Smooth value noise in [0, 1] that repeats every `period` lattice cells in x and y (period <= 0:
// no repetition).
float valueNoise(float x, float y, int period, uint32_t seed);

// Sum of `octaves` value-noise layers, each twice the frequency and `gain` times the amplitude of
// the one before; normalised back to [0, 1]. Tileable when `period` is.
float fractalNoise(float x, float y, int period, int octaves, float gain, uint32_t seed);

// Distances to the nearest (f1) and second nearest (f2) feature point of a jittered grid with one
// point per cell; repeats every `period` cells. f2 - f1 is small along the cell borders, which is
// what cracks and scales are drawn from.
struct CellDistance {
  float f1;
  float f2;
  uint32_t cell;  // hash of the nearest cell: a stable per-cell random value
};
CellDistance cellNoise(float x, float y, int period, uint32_t seed);

// Thin bright lines where fractal noise crosses 0.5: veins and sinews. `sharpness` narrows them.
float veinNoise(float x, float y, int period, int octaves, float sharpness, uint32_t seed);

}  // namespace assetgen
