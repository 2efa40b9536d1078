// The head mesh reader and its neighbour lists: the exact list order the deformation walks, the
// rest lengths, and the files that must leave the mesh empty.
#include "gfx/head_mesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "support/chunk_writer.h"
#include "support/temp_dir.h"

namespace {

using List = std::vector<std::pair<uint16_t, float>>;

List listOf(const HeadVertex& v) {
  List out;
  for (const HeadNeighbour* n = v.neighbours; n; n = n->next)
    out.push_back({n->index, n->restLength});
  return out;
}

std::vector<uint16_t> indicesOf(const HeadVertex& v) {
  std::vector<uint16_t> out;
  for (const auto& e : listOf(v)) out.push_back(e.first);
  return out;
}

// The original one-pass-over-all-faces-per-vertex construction, as the reference for the order.
std::vector<List> referenceLists(const HeadMesh& mesh) {
  std::vector<List> lists(mesh.vertexCount);
  for (uint16_t p = 0; p < mesh.vertexCount; ++p) {
    for (const HeadFace& f : mesh.faces) {
      if (p != f.a && p != f.b && p != f.c) continue;
      for (uint16_t k : {f.a, f.b, f.c}) {
        bool present = k == p;
        for (const auto& e : lists[p]) present = present || e.first == k;
        if (!present) {
          const float len = (mesh.vertices[p].position - mesh.vertices[k].position).length();
          lists[p].insert(lists[p].begin(), {k, len});
        }
      }
    }
  }
  return lists;
}

void expectEmpty(const HeadMesh& mesh) {
  EXPECT_EQ(mesh.vertexCount, 0);
  EXPECT_EQ(mesh.faceCount, 0);
  EXPECT_TRUE(mesh.vertices.empty());
  EXPECT_TRUE(mesh.faces.empty());
}

const std::vector<Point3> kFour = {{0, 0, 0}, {3, 0, 0}, {0, 4, 0}, {3, 4, 0}};

}  // namespace

TEST(HeadMesh, OneTriangleListsAndRestLengths) {
  const auto bytes = headFileBytes({{0, 0, 0}, {3, 0, 0}, {0, 4, 0}}, {{0, 1, 2}});
  HeadMesh mesh;
  ASSERT_TRUE(mesh.parse(bytes.data(), bytes.size()));
  EXPECT_EQ(listOf(mesh.vertices[0]), (List{{2, 4.0f}, {1, 3.0f}}));
  EXPECT_EQ(listOf(mesh.vertices[1]), (List{{2, 5.0f}, {0, 3.0f}}));
  EXPECT_EQ(listOf(mesh.vertices[2]), (List{{1, 5.0f}, {0, 4.0f}}));
}

TEST(HeadMesh, TwoTrianglesListOrder) {
  const auto bytes = headFileBytes(kFour, {{0, 1, 2}, {2, 1, 3}});
  HeadMesh mesh;
  ASSERT_TRUE(mesh.parse(bytes.data(), bytes.size()));
  EXPECT_EQ(indicesOf(mesh.vertices[1]), (std::vector<uint16_t>{3, 2, 0}));
  EXPECT_EQ(indicesOf(mesh.vertices[2]), (std::vector<uint16_t>{3, 1, 0}));
  EXPECT_EQ(indicesOf(mesh.vertices[3]), (std::vector<uint16_t>{1, 2}));
  EXPECT_FALSE(mesh.vertices[0].hasNeighbour(3));
  EXPECT_FALSE(mesh.vertices[3].hasNeighbour(0));
}

TEST(HeadMesh, DegenerateFaceUnusedVertexAndCoincidentVertices) {
  // Vertex 2 sits on vertex 1; vertex 3 is named by no face.
  const auto bytes =
      headFileBytes({{0, 0, 0}, {1, 2, 2}, {1, 2, 2}, {9, 9, 9}}, {{0, 0, 1}, {1, 2, 1}});
  HeadMesh mesh;
  ASSERT_TRUE(mesh.parse(bytes.data(), bytes.size()));
  EXPECT_EQ(listOf(mesh.vertices[0]), (List{{1, 3.0f}}));
  EXPECT_EQ(listOf(mesh.vertices[1]), (List{{2, 0.0f}, {0, 3.0f}}));
  EXPECT_EQ(listOf(mesh.vertices[2]), (List{{1, 0.0f}}));
  EXPECT_EQ(mesh.vertices[3].neighbours, nullptr);
}

TEST(HeadMesh, FieldsAfterLoad) {
  TempDir dir;
  auto bytes = headFileBytes(kFour, {{0, 1, 2}});
  bytes.push_back(0xAB);  // trailing bytes are not read
  writeFile(dir.file("ex_glowa_new.3ds"), bytes);
  HeadMesh mesh;
  ASSERT_TRUE(mesh.load(dir.file("ex_glowa_new.3DS").c_str()));
  ASSERT_EQ(mesh.vertexCount, 4);
  ASSERT_EQ(mesh.faceCount, 1);
  EXPECT_EQ(mesh.vertices.size(), 4u);
  EXPECT_EQ(mesh.vertices[3].position.x, 3.0f);
  EXPECT_EQ(mesh.vertices[3].position.y, 4.0f);
  EXPECT_EQ(mesh.vertices[3].u, 3.0f / 7.0f);
  EXPECT_EQ(mesh.vertices[3].v, 3.0f / 5.0f);
  EXPECT_EQ(mesh.vertices[1].offset.length(), 0.0f);
  EXPECT_EQ(mesh.vertices[1].locked + mesh.vertices[1].pending + mesh.vertices[1].spreading, 0);
  EXPECT_EQ(mesh.faces[0].c, 2);
}

TEST(HeadMesh, FourByteFileIsEmptyMesh) {
  const std::vector<uint8_t> bytes = {0, 0, 0, 0};
  HeadMesh mesh;
  EXPECT_TRUE(mesh.parse(bytes.data(), bytes.size()));
  expectEmpty(mesh);
}

// A mesh that was loaded must be emptied by a refused file, not left half replaced.
TEST(HeadMesh, RefusedFilesLeaveMeshEmpty) {
  const auto good = headFileBytes(kFour, {{0, 1, 2}, {2, 1, 3}});
  struct Case {
    const char* reason;  // what failure() says
    std::vector<uint8_t> bytes;
  };
  const auto cut = [&](size_t size) {
    return std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(size));
  };
  const std::vector<Case> cases = {
      {"ends inside the vertex count", cut(0)},
      {"ends inside the vertex count", cut(1)},
      {"ends inside the 4 vertices", cut(2)},
      {"ends inside the 4 vertices", cut(40)},
      {"ends inside the 4 vertices", cut(2 + 48 + 31)},
      {"ends inside the face count", cut(2 + 80 + 1)},
      {"ends inside the 2 faces (at face 1)", cut(2 + 80 + 2 + 11)},
      {"ends inside the 2 faces (at face 1)", cut(good.size() - 1)},
      {"face 0 names vertex 4, at or above the vertex count 4", headFileBytes(kFour, {{0, 1, 4}})},
      {"face 1 names vertex 65535", headFileBytes(kFour, {{0, 1, 2}, {65535, 0, 1}})},
      {"face 0 names vertex 0, at or above the vertex count 0", headFileBytes({}, {{0, 0, 0}})},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.reason) + ", " + std::to_string(c.bytes.size()) + " bytes");
    HeadMesh mesh;
    ASSERT_TRUE(mesh.parse(good.data(), good.size()));
    EXPECT_EQ(mesh.failure(), "");
    EXPECT_FALSE(mesh.parse(c.bytes.data(), c.bytes.size()));
    EXPECT_NE(mesh.failure().find(c.reason), std::string::npos) << mesh.failure();
    expectEmpty(mesh);
  }
}

TEST(HeadMesh, MissingFileLeavesMeshEmpty) {
  TempDir dir;
  const auto good = headFileBytes(kFour, {{0, 1, 2}});
  HeadMesh mesh;
  ASSERT_TRUE(mesh.parse(good.data(), good.size()));
  EXPECT_FALSE(mesh.load(dir.file("absent.3ds").c_str()));
  EXPECT_EQ(mesh.failure(), "cannot read the file");
  expectEmpty(mesh);
}

// A random mesh the size of the head, with repeated and degenerate faces, against the
// reference construction: same lists, same order, same rest lengths, and symmetric.
TEST(HeadMesh, LargeMeshMatchesReferenceOrder) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-1.0f, 1.0f);
  const uint16_t n = 600;
  std::vector<Point3> positions;
  for (int i = 0; i < n; ++i) positions.push_back({coord(rng), coord(rng), coord(rng)});
  std::uniform_int_distribution<int> local(-6, 6);
  std::vector<std::array<uint16_t, 3>> faces;
  for (int i = 0; i < 1200; ++i) {
    const int base = int(rng() % n);
    auto near = [&] { return uint16_t((base + local(rng) + n) % n); };
    faces.push_back({uint16_t(base), near(), near()});
  }
  faces.push_back(faces[10]);
  const auto bytes = headFileBytes(positions, faces);
  HeadMesh mesh;
  ASSERT_TRUE(mesh.parse(bytes.data(), bytes.size()));
  const std::vector<List> expected = referenceLists(mesh);
  for (uint16_t p = 0; p < n; ++p) {
    ASSERT_EQ(listOf(mesh.vertices[p]), expected[p]) << "vertex " << p;
    for (const auto& [k, len] : expected[p]) {
      ASSERT_TRUE(mesh.vertices[k].hasNeighbour(p));
      EXPECT_EQ(len, (mesh.vertices[k].position - mesh.vertices[p].position).length());
    }
  }
}

TEST(HeadMesh, RebuildingDoesNotDuplicate) {
  const auto bytes = headFileBytes(kFour, {{0, 1, 2}, {2, 1, 3}});
  HeadMesh mesh;
  ASSERT_TRUE(mesh.parse(bytes.data(), bytes.size()));
  mesh.buildNeighbours();
  EXPECT_EQ(indicesOf(mesh.vertices[1]), (std::vector<uint16_t>{3, 2, 0}));
}
