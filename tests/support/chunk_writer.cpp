// Little-endian chunk writer for tests; lengths of nested chunks are patched when each one closes.
#include "support/chunk_writer.h"

#include "gfx/little_endian.h"

ChunkWriter& ChunkWriter::begin(uint16_t id) {
  open_.push_back(bytes_.size());
  return u16(id).u32(0);
}

ChunkWriter& ChunkWriter::end() {
  if (open_.empty()) return *this;
  const size_t start = open_.back();
  open_.pop_back();
  const uint32_t length = uint32_t(bytes_.size() - start);
  storeU32Le(&bytes_[start + 2], length);
  return *this;
}

ChunkWriter& ChunkWriter::header(uint16_t id, uint32_t length) {
  return u16(id).u32(length);
}

ChunkWriter& ChunkWriter::u16(uint16_t v) {
  bytes_.resize(bytes_.size() + 2);
  storeU16Le(&bytes_[bytes_.size() - 2], v);
  return *this;
}

ChunkWriter& ChunkWriter::u32(uint32_t v) {
  bytes_.resize(bytes_.size() + 4);
  storeU32Le(&bytes_[bytes_.size() - 4], v);
  return *this;
}

ChunkWriter& ChunkWriter::f32(float v) {
  bytes_.resize(bytes_.size() + 4);
  storeF32Le(&bytes_[bytes_.size() - 4], v);
  return *this;
}

ChunkWriter& ChunkWriter::str(const std::string& s) {
  bytes_.insert(bytes_.end(), s.begin(), s.end());
  bytes_.push_back(0);
  return *this;
}

ChunkWriter& ChunkWriter::raw(const std::vector<uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

ChunkWriter& ChunkWriter::stringChunk(uint16_t id, const std::string& s) {
  return begin(id).str(s).end();
}

ChunkWriter& ChunkWriter::floatChunk(uint16_t id, float v) {
  return begin(id).f32(v).end();
}

ChunkWriter& ChunkWriter::points(const std::vector<Point3>& points) {
  begin(chunk3ds::kPointArray).u16(uint16_t(points.size()));
  for (const Point3& p : points) f32(p.x).f32(p.y).f32(p.z);
  return end();
}

ChunkWriter& ChunkWriter::texVerts(const std::vector<Uv2>& uvs, int32_t countField) {
  begin(chunk3ds::kTexVerts).u16(uint16_t(countField < 0 ? int32_t(uvs.size()) : countField));
  for (const Uv2& t : uvs) f32(t.u).f32(t.v);
  return end();
}

ChunkWriter& ChunkWriter::matGroup(const std::string& material,
                                   const std::vector<uint16_t>& faces) {
  begin(chunk3ds::kMatGroup).str(material).u16(uint16_t(faces.size()));
  for (uint16_t f : faces) u16(f);
  return end();
}

ChunkWriter& ChunkWriter::beginFaces(const std::vector<Face4>& faces) {
  begin(chunk3ds::kFaceArray).u16(uint16_t(faces.size()));
  for (const Face4& f : faces) u16(f.a).u16(f.b).u16(f.c).u16(f.flags);
  return *this;
}

std::vector<uint8_t> ChunkWriter::finish() {
  while (!open_.empty()) end();
  return bytes_;
}

std::vector<uint8_t> headFileBytes(const std::vector<Point3>& points,
                                   const std::vector<std::array<uint16_t, 3>>& faces,
                                   std::vector<Uv2> uvs) {
  for (size_t i = uvs.size(); i < points.size(); ++i)
    uvs.push_back({float(i % 7) / 7.0f, float(i % 5) / 5.0f});
  ChunkWriter w;
  w.u16(uint16_t(points.size()));
  for (const Point3& p : points) w.f32(p.x).f32(p.y).f32(p.z);
  for (const Uv2& t : uvs) w.f32(t.u).f32(t.v);
  w.u16(uint16_t(faces.size()));
  for (const auto& f : faces) w.u16(f[0]).u16(f[1]).u16(f[2]);
  return w.bytes();
}
