// The forged files at the byte level, as other tools see them: exact TGA headers and lengths, the
// head file's exact length, a 3DS chunk tree whose lengths nest exactly and that holds every chunk
// a full 3DS file carries, and mesh parts wound outwards so the loader's normals face the light.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model3ds/scene3ds.h"
#include "support/demotool_run.h"
#include "support/forged_files.h"
#include "support/temp_dir.h"

namespace {

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(b[at + size_t(i)]) << (8 * i);
  return v;
}

// Chunks that hold only sub-chunks after a fixed leading payload (bytes to skip first).
const std::map<uint16_t, size_t> kContainers = {
    {0x4D4D, 0}, {0x3D3D, 0}, {0x4100, 0}, {0xAFFF, 0}, {0xA010, 0}, {0xA020, 0}, {0xA030, 0},
    {0xA200, 0}, {0xB000, 0}, {0xB002, 0}, {0xB003, 0}, {0xB004, 0}, {0xB005, 0}, {0x4600, 12}};

// Walks [begin, end) as a run of chunks; records every id seen. False when a length does not fit.
bool walk(const std::vector<uint8_t>& b, size_t begin, size_t end, std::multiset<uint16_t>& ids) {
  size_t pos = begin;
  while (pos < end) {
    if (pos + 6 > end) return false;
    const uint16_t id = uint16_t(le(b, pos, 2));
    const uint32_t length = le(b, pos + 2, 4);
    if (length < 6 || pos + length > end) return false;
    ids.insert(id);
    size_t inner = pos + 6;
    if (id == 0x4000) {  // NAMED_OBJECT: a name, then sub-chunks
      while (inner < pos + length && b[inner] != 0) ++inner;
      ++inner;
    }
    if (id == 0x4120) inner += 2 + 8 * le(b, inner, 2);  // FACE_ARRAY: faces, then sub-chunks
    auto c = kContainers.find(id);
    if (c != kContainers.end() || id == 0x4000 || id == 0x4120) {
      if (c != kContainers.end()) inner += c->second;
      if (!walk(b, inner, pos + length, ids)) return false;
    }
    pos += length;
  }
  return pos == end;
}

class ForgedFormats : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(forgedFiles().ok) << forgedFiles().error; }
};

TEST_F(ForgedFormats, PicturesHavePlainHeadersAndExactLengths) {
  for (const std::string& name : forgedFiles().names) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".tga") continue;
    const std::vector<uint8_t> b = readFile(forgedFiles().path(name));
    ASSERT_GE(b.size(), 18u) << name;
    EXPECT_EQ(b[0], 0) << name << ": no image ID";
    EXPECT_EQ(b[1], 0) << name << ": no colour map";
    EXPECT_EQ(b[2], 2) << name;
    EXPECT_EQ(b[16], 24) << name;
    EXPECT_EQ(b[17], 0) << name << ": bottom row first, no alpha bits";
    EXPECT_EQ(b.size(), 18u + size_t(le(b, 12, 2)) * le(b, 14, 2) * 3) << name;
  }
}

TEST_F(ForgedFormats, HeadFileHasItsExactLength) {
  const std::vector<uint8_t> b = readFile(forgedFiles().path("ex_glowa_new.3ds"));
  ASSERT_GE(b.size(), 4u);
  const size_t n = le(b, 0, 2);
  ASSERT_GE(b.size(), 4 + 20 * n);
  const size_t m = le(b, 2 + 20 * n, 2);
  EXPECT_EQ(b.size(), 4 + 20 * n + 6 * m);
}

TEST_F(ForgedFormats, SetsAreWellFormedFull3dsFiles) {
  const uint16_t required[] = {0x0002, 0x3D3E, 0x0100, 0xAFFF, 0xA000, 0xA010, 0xA020,
                               0xA030, 0x0011, 0xA200, 0xA300, 0xA354, 0xA356, 0xA358,
                               0xA35A, 0x4000, 0x4100, 0x4110, 0x4140, 0x4160, 0x4120,
                               0x4130, 0x4150, 0x4600, 0x4700, 0xB000, 0xB00A, 0xB002};
  for (const char* name : {"c00.3ds", "c01.3ds", "c02.3ds", "c05.3ds"}) {
    const std::vector<uint8_t> b = readFile(forgedFiles().path(name));
    std::multiset<uint16_t> ids;
    ASSERT_TRUE(walk(b, 0, b.size(), ids)) << name << ": chunk lengths do not nest";
    EXPECT_EQ(ids.count(0x4D4D), 1u) << name;
    // A keyframer node for every mesh object, the camera, its target and the light.
    EXPECT_EQ(ids.count(0xB002), ids.count(0x4100)) << name << ": one node per object";
    EXPECT_EQ(ids.count(0xB003), 1u) << name;
    EXPECT_EQ(ids.count(0xB004), 1u) << name;
    EXPECT_EQ(ids.count(0xB005), 1u) << name;
    EXPECT_EQ(ids.count(0xB010), ids.count(0x4000) + 1) << name << ": every node has a header";
    for (uint16_t id : required) EXPECT_GT(ids.count(id), 0u) << name << std::hex << " 0x" << id;
  }
}

TEST_F(ForgedFormats, MeshPartsAreWoundOutwards) {
  for (const char* name : {"c00.3ds", "c01.3ds", "c02.3ds", "c05.3ds"}) {
    const std::vector<uint8_t> bytes = readFile(forgedFiles().path(name));
    ByteReader reader(bytes.data(), bytes.size());
    Scene3ds scene;
    ASSERT_TRUE(scene.readChunks(reader));
    for (auto* n = scene.objects.first(); n; n = n->next) {
      const Object3ds* o = n->element;
      double volume = 0;  // six times the enclosed volume: positive when wound outwards
      for (const Face3ds& f : o->faces) {
        const Vec3 a = o->vertices[f.a].position, b = o->vertices[f.b].position,
                   c = o->vertices[f.c].position;
        Vec3 normal;
        normal.setFaceNormal(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z);
        volume += double(normal.dot(a));
      }
      if (o->faceCount) {
        EXPECT_GT(volume, 0.0) << name << " " << o->name;
      }
    }
  }
}

}  // namespace
