// The forged head read through HeadMesh::load: its size, the 4..8 shell around the origin, a closed
// surface wound outwards, texture coordinates in the skin, the face towards +z and vertex 1084 on
// the chin, where scenes 1 and 2 drag it; mirrored about the face's centre line, and sampled
// finer over the face than at the back of the skull; its skin laid on the face without stretching.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "gfx/head_mesh.h"
#include "support/forged_files.h"
#include "support/texture_stretch.h"

namespace {

class ForgedHead : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (forgedFiles().ok) loaded = head.load(forgedFiles().path("ex_glowa_new.3ds").c_str());
  }
  void SetUp() override {
    ASSERT_TRUE(forgedFiles().ok) << forgedFiles().error;
    ASSERT_TRUE(loaded) << "HeadMesh::load refused the forged head";
  }
  static Vec3 at(uint32_t i) { return head.vertices[i].position; }
  static HeadMesh head;
  static bool loaded;
};
HeadMesh ForgedHead::head;
bool ForgedHead::loaded = false;

TEST_F(ForgedHead, SizeAndShellAroundTheOrigin) {
  EXPECT_GE(head.vertexCount, 1500);
  EXPECT_LE(head.vertexCount, 6000);
  EXPECT_GT(head.vertexCount, 1084);
  EXPECT_EQ(head.vertices.size(), head.vertexCount);
  for (uint32_t i = 0; i < head.vertexCount; ++i) {
    const float r = at(i).length();
    EXPECT_GE(r, 4.0f) << "vertex " << i;
    EXPECT_LE(r, 8.0f) << "vertex " << i;
    EXPECT_GE(head.vertices[i].u, 0.0f);
    EXPECT_LE(head.vertices[i].u, 1.0f);
    EXPECT_GE(head.vertices[i].v, 0.0f);
    EXPECT_LE(head.vertices[i].v, 1.0f);
  }
}

TEST_F(ForgedHead, ClosedSurfaceWoundOutwards) {
  std::map<std::pair<uint16_t, uint16_t>, int> directed;
  double volume = 0;
  size_t outward = 0;
  for (const HeadFace& f : head.faces) {
    ASSERT_LT(std::max({f.a, f.b, f.c}), head.vertexCount);
    for (auto e : {std::make_pair(f.a, f.b), std::make_pair(f.b, f.c), std::make_pair(f.c, f.a)})
      ++directed[e];
    const Vec3 a = at(f.a), b = at(f.b), c = at(f.c);
    Vec3 n;
    n.setFaceNormal(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z);
    volume += double(n.dot(a));
    if (n.dot(a + b + c) > 0.0f) ++outward;
  }
  // Closed and consistently wound: every directed edge once, and its reverse once.
  for (const auto& [edge, count] : directed) {
    EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
    EXPECT_EQ(directed.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
  }
  EXPECT_GT(volume, 0.0);
  EXPECT_GT(double(outward), 0.97 * double(head.faceCount));
}

TEST_F(ForgedHead, FacesPlusZWithVertex1084OnTheChin) {
  uint32_t front = 0;
  float minY = 1e9f, maxY = -1e9f;
  for (uint32_t i = 0; i < head.vertexCount; ++i) {
    if (at(i).z > at(front).z) front = i;
    minY = std::min(minY, at(i).y);
    maxY = std::max(maxY, at(i).y);
  }
  // The tip of the nose is the frontmost point: on the centre line, mid-height.
  EXPECT_LT(std::fabs(at(front).x), 0.5f);
  EXPECT_GT(at(front).y, minY + 0.3f * (maxY - minY));
  const Vec3 chin = at(1084);
  EXPECT_LT(std::fabs(chin.x), 0.5f);
  EXPECT_GT(chin.z, 2.0f) << "in front";
  EXPECT_LT(chin.y, minY + 0.3f * (maxY - minY)) << "low on the head";
  // No point of the lower face reaches further down and forwards than it.
  const Vec3 chinward(0.0f, -0.75f, 0.66f);
  for (uint32_t i = 0; i < head.vertexCount; ++i) {
    const Vec3 p = at(i);
    if (std::fabs(p.x) < 1.5f && p.dot(chinward) > chin.dot(chinward) + 0.3f) {
      ADD_FAILURE() << "vertex " << i << " lies further out on the chin than vertex 1084";
      break;
    }
  }
}

TEST_F(ForgedHead, MirroredAboutTheCentreLineWithTheSameSkin) {
  // The skin is mirrored too: a vertex without its twin would tear the texture under the drag.
  auto key = [](Vec3 p) {
    return std::make_tuple(std::lround(p.x * 1000.0f), std::lround(p.y * 1000.0f),
                           std::lround(p.z * 1000.0f));
  };
  std::map<std::tuple<long, long, long>, uint32_t> byPosition;
  for (uint32_t i = 0; i < head.vertexCount; ++i) byPosition[key(at(i))] = i;
  size_t missing = 0;
  for (uint32_t i = 0; i < head.vertexCount; ++i) {
    const Vec3 p = at(i);
    auto twin = byPosition.find(key(Vec3(-p.x, p.y, p.z)));
    if (twin == byPosition.end()) {
      ++missing;
      continue;
    }
    EXPECT_NEAR(head.vertices[twin->second].u, head.vertices[i].u, 1e-4f) << "vertex " << i;
    EXPECT_NEAR(head.vertices[twin->second].v, head.vertices[i].v, 1e-4f) << "vertex " << i;
  }
  // Rounding to a thousandth may split a pair on either side of a boundary; allow a handful.
  EXPECT_LE(missing, head.vertexCount / 200) << "vertices without a mirror twin";
}

TEST_F(ForgedHead, FaceSampledFinerThanTheBackOfTheSkull) {
  double frontEdges = 0, backEdges = 0;
  size_t frontCount = 0, backCount = 0;
  for (const HeadFace& f : head.faces) {
    const Vec3 a = at(f.a), b = at(f.b), c = at(f.c);
    const Vec3 centre = (a + b + c) * (1.0f / 3.0f);
    const double edges = double((b - a).length() + (c - b).length() + (a - c).length());
    if (centre.z > 3.0f && std::fabs(centre.x) < 2.5f) {
      frontEdges += edges;
      ++frontCount;
    } else if (centre.z < -3.0f) {
      backEdges += edges;
      ++backCount;
    }
  }
  ASSERT_GT(frontCount, 0u);
  ASSERT_GT(backCount, 0u);
  EXPECT_LT(frontEdges / double(frontCount), 0.8 * backEdges / double(backCount));
}

// The skin keeps its proportions over the face (no smearing along the nose, cheeks or brow): the
// ratio of the largest to the smallest scale from picture to surface, per triangle.
TEST_F(ForgedHead, SkinIsNotStretchedOverTheFace) {
  std::vector<float> stretch;
  for (const HeadFace& f : head.faces) {
    const HeadVertex &a = head.vertices[f.a], &b = head.vertices[f.b], &c = head.vertices[f.c];
    const Vec3 centre = (a.position + b.position + c.position) * (1.0f / 3.0f);
    if (centre.z < 3.0f || std::fabs(centre.x) > 3.0f) continue;
    const float s =
        textureStretch({a.position, a.u, a.v}, {b.position, b.u, b.v}, {c.position, c.u, c.v});
    stretch.push_back(s > 0.0f ? s : 1e9f);  // 0: a triangle with no skin at all
  }
  ASSERT_GT(stretch.size(), 500u);
  std::sort(stretch.begin(), stretch.end());
  EXPECT_LT(stretch[stretch.size() / 2], 1.3f) << "median";
  EXPECT_LT(stretch[stretch.size() * 9 / 10], 2.0f) << "90th percentile";
}

}  // namespace
