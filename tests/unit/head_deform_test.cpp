// The head's poke on small meshes built in memory, checked against values worked out by hand from
// the sweep, apply and reset rules.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx/head_mesh.h"

namespace {

// Vertices at the given positions; each list is given front first, with rest lengths taken from
// the positions as loaded.
void build(HeadMesh& mesh, const std::vector<Vec3>& positions,
           const std::vector<std::vector<uint16_t>>& lists) {
  mesh.clear();
  mesh.vertices.resize(positions.size());
  mesh.vertexCount = uint16_t(positions.size());
  for (size_t i = 0; i < positions.size(); ++i) mesh.vertices[i].position = positions[i];
  for (size_t i = 0; i < lists.size(); ++i) {
    const auto& list = lists[i];
    for (auto it = list.rbegin(); it != list.rend(); ++it)
      mesh.vertices[i].addNeighbour(*it, (positions[i] - positions[*it]).length());
  }
}

void expectAt(const HeadMesh& mesh, size_t i, float x, float y, float z) {
  const Vec3& p = mesh.vertices[i].position;
  EXPECT_NEAR(p.x, x, 1e-5) << "vertex " << i;
  EXPECT_NEAR(p.y, y, 1e-5) << "vertex " << i;
  EXPECT_NEAR(p.z, z, 1e-5) << "vertex " << i;
}

void expectClean(const HeadMesh& mesh) {
  for (size_t i = 0; i < mesh.vertices.size(); ++i) {
    const HeadVertex& v = mesh.vertices[i];
    EXPECT_EQ(v.locked, 0) << "vertex " << i;
    EXPECT_EQ(v.pending, 0) << "vertex " << i;
    EXPECT_EQ(v.spreading, 0) << "vertex " << i;
    EXPECT_EQ(v.offset.x, 0.0f) << "vertex " << i;
    EXPECT_EQ(v.offset.y, 0.0f) << "vertex " << i;
    EXPECT_EQ(v.offset.z, 0.0f) << "vertex " << i;
  }
}

}  // namespace

TEST(HeadPoke, ChainOfFourPullsTheNeighbourOnce) {
  // 0 - 1 - 2 - 3 on the x axis, one unit apart. Vertex 1 is pulled by 0 (-0.1) and, later in the
  // same sweep, back by 2 (+0.01); 2 and 3 are at rest length from their sources.
  HeadMesh mesh;
  build(mesh, {{10, 0, 0}, {11, 0, 0}, {12, 0, 0}, {13, 0, 0}}, {{1}, {2, 0}, {3, 1}, {2}});
  mesh.poke(0, Vec3(-1, 0, 0));
  expectAt(mesh, 0, 9.0f, 0, 0);
  expectAt(mesh, 1, 10.91f, 0, 0);
  expectAt(mesh, 2, 12.0f, 0, 0);
  expectAt(mesh, 3, 13.0f, 0, 0);
  expectClean(mesh);
}

TEST(HeadPoke, TriangleFromTheNeighbourListsOfOneFace) {
  // Face (0, 1, 2) gives the lists 0: 2, 1; 1: 2, 0; 2: 1, 0.
  HeadMesh mesh;
  build(mesh, {{10, 0, 0}, {11, 0, 0}, {10, 1, 0}}, {{2, 1}, {2, 0}, {1, 0}});
  mesh.poke(0, Vec3(-1, 0, 0));
  expectAt(mesh, 0, 9.0f, 0, 0);
  expectAt(mesh, 1, 10.904606f, -0.0051177f, 0);
  expectAt(mesh, 2, 9.970755f, 0.970669f, 0);
  expectClean(mesh);
}

TEST(HeadPoke, RespreadAddsTheOffsetTwiceAndALeafKeepsStill) {
  // Star around 2. Vertex 2 spreads in the first pass, is pulled again by 3 (index above it) and
  // spreads once more to 0 in the second pass, adding its offset (0.09) a second time. Vertex 0
  // is pulled but never has an unlocked neighbour, so its gathered offset is dropped.
  HeadMesh mesh;
  build(mesh, {{10, 1, 0}, {11, 0, 0}, {10, 0, 0}, {9, 0, 0}}, {{2}, {2}, {1, 0, 3}, {2}});
  mesh.poke(1, Vec3(1, 0, 0));
  expectAt(mesh, 0, 10.0f, 1.0f, 0);
  expectAt(mesh, 1, 12.0f, 0, 0);
  expectAt(mesh, 2, 10.18f, 0, 0);
  expectAt(mesh, 3, 9.0f, 0, 0);
  expectClean(mesh);
}

TEST(HeadPoke, ZeroDisplacementStillRelaxes) {
  // Stretched chain (rest length 1, actual 2): without any drag the far end moves in.
  HeadMesh mesh;
  build(mesh, {{10, 0, 0}, {12, 0, 0}, {14, 0, 0}}, {{1}, {2, 0}, {1}});
  for (HeadVertex& v : mesh.vertices)
    for (HeadNeighbour* n = v.neighbours; n; n = n->next) n->restLength = 1.0f;
  mesh.poke(0, Vec3(0, 0, 0));
  expectAt(mesh, 0, 10.0f, 0, 0);
  expectAt(mesh, 1, 12.01f, 0, 0);
  expectAt(mesh, 2, 13.9f, 0, 0);
  expectClean(mesh);
}

TEST(HeadPoke, FloorAppliesOnlyToVerticesThatSpread) {
  HeadMesh pair;
  build(pair, {{5, 0, 0}, {6, 0, 0}}, {{1}, {0}});
  pair.poke(0, Vec3(-4, 0, 0));
  expectAt(pair, 0, 3.5f, 0, 0);  // spread to 1, so lifted back to 3.5 from the origin
  expectAt(pair, 1, 6.0f, 0, 0);  // pulled, but its only neighbour is locked
  expectClean(pair);

  HeadMesh lone;
  build(lone, {{5, 0, 0}, {20, 0, 0}}, {{}, {}});
  lone.poke(0, Vec3(-4, 0.5f, 0));
  expectAt(lone, 0, 1.0f, 0.5f, 0);  // exactly the displacement, below the floor
  expectAt(lone, 1, 20.0f, 0, 0);
  expectClean(lone);
}

// The pass loop written out literally: full sweeps and full applies over every vertex. The
// poke visits only pending vertices, which must give bit-identical results.
void literalPoke(HeadMesh& mesh, uint32_t k, Vec3 d) {
  std::vector<HeadVertex>& v = mesh.vertices;
  v[k].position = v[k].position + d;
  v[k].locked = 1;
  v[k].pending = 1;
  v[k].spreading = 0;
  for (bool done = false; !done;) {
    done = true;
    for (uint16_t i = 0; i < mesh.vertexCount; ++i) {
      if (!v[i].pending) continue;
      v[i].pending = 0;
      for (HeadNeighbour* n = v[i].neighbours; n; n = n->next) {
        HeadVertex& t = v[n->index];
        if (t.locked) continue;
        v[i].spreading = 1;
        t.pending = 1;
        Vec3 w = v[i].position - (t.position + t.offset);
        w.setLength(w.length() - n->restLength);
        t.offset = t.offset + w * 0.1f;
      }
    }
    for (uint16_t i = 0; i < mesh.vertexCount; ++i) {
      if (!v[i].spreading) continue;
      done = false;
      v[i].locked = 1;
      v[i].spreading = 0;
      v[i].position = v[i].position + v[i].offset;
      if (v[i].position.length() < 3.5f) v[i].position.setLength(3.5f);
    }
  }
  for (HeadVertex& x : v) {
    x.locked = x.pending = x.spreading = 0;
    x.offset.set(0, 0, 0);
  }
}

// A curved strip of triangles whose vertex numbers are scrambled, so that the wave keeps meeting
// neighbours both above and below the vertex it spreads from, across 64-vertex words.
void scrambledStrip(HeadMesh& mesh, int length) {
  std::vector<int> order(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i) order[size_t(i)] = (i * 37) % length;  // length prime to 37
  std::vector<Vec3> positions(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i) {
    const float a = float(i / 2) * 0.05f;
    positions[size_t(order[size_t(i)])] =
        Vec3(6.0f * std::cos(a), float(i % 2), 6.0f * std::sin(a));
  }
  std::vector<std::vector<uint16_t>> lists(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i)
    for (int j = i + 2; j >= i - 2; --j)
      if (j >= 0 && j < length && j != i)
        lists[size_t(order[size_t(i)])].push_back(uint16_t(order[size_t(j)]));
  build(mesh, positions, lists);
}

TEST(HeadPoke, MatchesTheLiteralPassLoopOverManyFrames) {
  HeadMesh fast, literal;
  scrambledStrip(fast, 300);
  scrambledStrip(literal, 300);
  for (int frame = 0; frame < 40; ++frame) {
    const Vec3 drag(0.0f, -float(frame % 7) / 100.0f, 0.02f);
    fast.poke(37 * 150 % 300, drag);
    literalPoke(literal, 37 * 150 % 300, drag);
    expectClean(fast);
    for (size_t i = 0; i < fast.vertices.size(); ++i) {
      const Vec3& a = fast.vertices[i].position;
      const Vec3& b = literal.vertices[i].position;
      ASSERT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << "vertex " << i << " frame " << frame;
    }
  }
  EXPECT_LT(fast.vertices[37 * 150 % 300].position.y, -1.0f);
}

TEST(HeadPoke, OutOfRangeIndexDoesNothing) {
  HeadMesh mesh;
  build(mesh, {{10, 0, 0}, {11, 0, 0}}, {{1}, {0}});
  mesh.poke(2, Vec3(1, 1, 1));
  mesh.poke(70000, Vec3(1, 1, 1));
  expectAt(mesh, 0, 10.0f, 0, 0);
  expectAt(mesh, 1, 11.0f, 0, 0);
  expectClean(mesh);

  HeadMesh empty;
  empty.poke(0, Vec3(1, 0, 0));
  EXPECT_TRUE(empty.vertices.empty());

  // A neighbour list that names a vertex the mesh does not have is walked past.
  mesh.vertices[0].addNeighbour(9, 1.0f);
  mesh.poke(0, Vec3(-1, 0, 0));
  expectAt(mesh, 0, 9.0f, 0, 0);
  expectClean(mesh);
}
