// Builds 3DS chunk files in memory for the reader's tests: nested chunks get their lengths filled
// in when they are closed, and raw headers with any length can be written to make broken files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model3ds/chunk_ids.h"

struct Point3 {
  float x, y, z;
};
struct Face4 {
  uint16_t a, b, c, flags;
};
struct Uv2 {
  float u, v;
};

class ChunkWriter {
 public:
  // Opens a chunk; its length is written when the matching end() closes it.
  ChunkWriter& begin(uint16_t id);
  ChunkWriter& end();
  // A header with exactly this length, never patched.
  ChunkWriter& header(uint16_t id, uint32_t length);

  ChunkWriter& u16(uint16_t v);
  ChunkWriter& u32(uint32_t v);
  ChunkWriter& f32(float v);
  // The bytes of s followed by one zero byte.
  ChunkWriter& str(const std::string& s);
  ChunkWriter& raw(const std::vector<uint8_t>& bytes);

  // Whole chunks with the payload the reader expects.
  ChunkWriter& stringChunk(uint16_t id, const std::string& s);
  ChunkWriter& floatChunk(uint16_t id, float v);
  ChunkWriter& points(const std::vector<Point3>& points);
  ChunkWriter& texVerts(const std::vector<Uv2>& uvs, int32_t countField = -1);
  ChunkWriter& matGroup(const std::string& material, const std::vector<uint16_t>& faces);
  // Opens FACE_ARRAY after writing its faces, so sub-chunks can follow before end().
  ChunkWriter& beginFaces(const std::vector<Face4>& faces);

  // Closes every chunk still open and returns the file.
  std::vector<uint8_t> finish();
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  std::vector<size_t> open_;
};

// A head file, the sculpted head's own chunkless format: vertex count, positions, texture
// coordinates, face count, faces. Without `uvs`, vertex i gets (i % 7 / 7, i % 5 / 5).
std::vector<uint8_t> headFileBytes(const std::vector<Point3>& points,
                                   const std::vector<std::array<uint16_t, 3>>& faces,
                                   std::vector<Uv2> uvs = {});
