// The triangle meshes the generator sculpts before writing them: positions, texture coordinates
// and counter-clockwise triangles, built from closed parts (capped tubes, boxes, blobs) so that
// every part can be turned to face outwards by its signed volume.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "gfx/vec3.h"

namespace assetgen {

constexpr float kPi = 3.14159265f;

struct Uv {
  float u = 0.0f;
  float v = 0.0f;
};

struct Triangle {
  uint32_t a, b, c;
};

struct Mesh {
  std::vector<Vec3> positions;
  std::vector<Uv> uvs;  // one per position
  std::vector<Triangle> triangles;

  uint32_t addVertex(Vec3 p, Uv uv);
  void addTriangle(uint32_t a, uint32_t b, uint32_t c) { triangles.push_back({a, b, c}); }
  // Appends another mesh, its indices shifted.
  void append(const Mesh& other);
};

Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalized(Vec3 v);
// Rotation of p about the unit axis by `radians` (Rodrigues).
Vec3 rotate(Vec3 p, Vec3 axis, float radians);

// Six times the signed volume enclosed by the triangles [first, end): positive when a closed part
// is wound counter-clockwise seen from outside.
double signedVolume(const Mesh& mesh, size_t firstTriangle);
// Reverses the winding of triangles [first, end) when their signed volume is negative.
void orientOutward(Mesh& mesh, size_t firstTriangle);

// A cross-section point of a tube: offsets along the path's normal and binormal.
struct ProfilePoint {
  float n;
  float b;
};
std::vector<ProfilePoint> circleProfile(int segments);
std::vector<ProfilePoint> rectProfile(float halfN, float halfB);

struct TubeSpec {
  std::vector<Vec3> path;     // centre line, at least two points
  std::vector<float> radius;  // profile scale per path point
  std::vector<ProfilePoint> profile;
  bool hardEdges = false;   // duplicate vertices per profile edge (flat sides)
  bool closedLoop = false;  // path returns to its start: no caps
  Vec3 up{0, 1, 0};         // hint for the first frame's normal
  float uTile = 1.0f;       // texture repeats around and along
  float vTile = 1.0f;
  // When positive, replaces the two above: one repeat every `tileSize` model units of surface,
  // around and along alike, so the picture keeps its proportions on thin, flat or tapered parts.
  float tileSize = 0.0f;
};
// Sweeps the profile along the path (parallel-transport frames), caps the ends unless closed,
// and orients the part outwards. Around the tube, u follows the profile's length (a flat side
// gets its share of the picture by its width).
void addTube(Mesh& mesh, const TubeSpec& desc);

// A box with its own four vertices per face (hard edges), centred at `centre`, edges along the
// given unit axes with the given half sizes.
void addBox(Mesh& mesh, Vec3 centre, Vec3 axisX, Vec3 axisY, Vec3 axisZ, Vec3 half, float uvScale);

// A closed blob: a sphere of `rings` x `segments` around `axis` whose radius in each direction
// comes from `radiusOf(direction)`; pole fans, a duplicated texture seam.
void addBlob(Mesh& mesh, Vec3 centre, int rings, int segments,
             const std::function<float(Vec3)>& radiusOf, float uTile, float vTile);

}  // namespace assetgen
