// Sculpting the head: a signed distance field of smoothly joined ellipsoids, capsules and cuts,
// sampled along the rays of a latitude-longitude sphere whose poles sit at the ears (so the face
// lies on the evenly sampled equator). Each vertex is the outermost surface point on its ray.
#include "tools/forge/meshes/head.h"

#include <algorithm>
#include <cmath>

#include "tools/forge/formats/byte_writer.h"
#include "tools/forge/pictures/picture.h"

namespace assetgen {

namespace {

// Rings run from the right ear (+x) to the left ear, segments around the x axis. Rings crowd
// towards the face's centre line and, less, round the ears; segments crowd towards the front, so
// the nose, eyes, mouth and ears keep their shape with the triangles of a coarse even grid.
constexpr int kRings = 36;
constexpr int kSegments = 64;
constexpr float kSegmentFrontBias = 0.55f;  // 0 even; front spacing 1 - bias, back 1 + bias

// Angle from the +x axis of every ring 0..kRings: equal shares of a sampling density, placed for
// the right half and mirrored, so the left half is its exact reflection.
std::vector<float> ringAngles() {
  const int steps = 4000;
  const double half = 0.5 * double(kPi);
  std::vector<double> total(steps + 1, 0.0);
  auto density = [](double lambda) {
    const double face = lambda - 0.5 * double(kPi);
    return 1.0 + 1.3 * std::exp(-face * face / (2 * 0.3 * 0.3)) +
           0.7 * std::exp(-lambda * lambda / (2 * 0.3 * 0.3));
  };
  for (int i = 0; i < steps; ++i)
    total[i + 1] = total[i] + density(half * (i + 0.5) / steps) * half / steps;
  std::vector<float> angles(kRings + 1);
  int i = 0;
  for (int r = 0; r <= kRings / 2; ++r) {
    const double target = total[steps] * r / (kRings / 2);
    while (i < steps && total[i + 1] < target) ++i;
    const double share = (target - total[i]) / std::max(1e-12, total[i + 1] - total[i]);
    angles[r] = float(half * (i + std::min(1.0, share)) / steps);
    angles[kRings - r] = kPi - angles[r];
  }
  angles[kRings / 2] = 0.5f * kPi;
  return angles;
}

// Angle about the x axis of segment s, 0 facing +z: symmetric about the front.
float segmentAngle(int s) {
  const float v = 2.0f * kPi * float(s) / float(kSegments);
  return v - kSegmentFrontBias * std::sin(v);
}

// Signed distance (approximate, negative inside) to an ellipsoid of radii r centred at c.
float ellipsoid(Vec3 p, Vec3 c, Vec3 r) {
  const Vec3 q = p - c;
  const Vec3 a(q.x / r.x, q.y / r.y, q.z / r.z), b(a.x / r.x, a.y / r.y, a.z / r.z);
  const float k0 = a.length(), k1 = b.length();
  return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min({r.x, r.y, r.z});
}

// A rounded cone from a (radius ra) to b (radius rb).
float capsule(Vec3 p, Vec3 a, Vec3 b, float ra, float rb) {
  const Vec3 ab = b - a;
  const float t = std::clamp((p - a).dot(ab) / ab.dot(ab), 0.0f, 1.0f);
  return (p - (a + ab * t)).length() - (ra + (rb - ra) * t);
}

// Smooth union and cut: k is the width of the blend.
float smoothUnion(float a, float b, float k) {
  const float h = std::max(k - std::fabs(a - b), 0.0f) / k;
  return std::min(a, b) - h * h * k * 0.25f;
}
float smoothCut(float a, float b, float k) {
  return -smoothUnion(-a, b, k);
}

// The features; m is the point folded onto the right half (x >= 0), so both sides match.
float upperLip(Vec3 p) {
  return ellipsoid(p, {0.0f, -2.4f, 5.2f}, {1.3f, 0.34f, 0.6f});
}
float lowerLip(Vec3 p) {
  return ellipsoid(p, {0.0f, -3.0f, 5.05f}, {1.15f, 0.38f, 0.6f});
}
float lidLine(Vec3 m) {
  return ellipsoid(m, {1.5f, 0.6f, 4.95f}, {0.85f, 0.06f, 0.35f});
}
float nostril(Vec3 m) {
  return ellipsoid(m, {0.36f, -1.6f, 5.7f}, {0.2f, 0.16f, 0.3f});
}

float headDistance(Vec3 p) {
  const Vec3 m(std::fabs(p.x), p.y, p.z);
  float d = ellipsoid(p, {0.0f, 1.3f, -0.7f}, {4.7f, 5.5f, 5.6f});                   // skull
  d = smoothUnion(d, ellipsoid(p, {0.0f, -1.5f, 1.0f}, {3.9f, 4.3f, 4.3f}), 1.8f);   // face
  d = smoothUnion(d, ellipsoid(p, {0.0f, -3.5f, 0.3f}, {3.7f, 2.4f, 3.9f}), 1.0f);   // jaw
  d = smoothUnion(d, ellipsoid(p, {0.0f, -5.0f, 3.5f}, {1.7f, 1.2f, 1.25f}), 0.8f);  // chin
  // The neck, cut flat where it ends.
  const float neckSide = std::hypot(p.x, p.z + 0.8f) - 2.7f;
  d = smoothUnion(d, std::max(neckSide, std::max(-(p.y + 7.0f), p.y + 1.0f)), 1.2f);
  d = smoothUnion(d, ellipsoid(p, {0.0f, 1.8f, 4.0f}, {3.3f, 0.7f, 1.2f}), 0.7f);    // brow
  d = smoothUnion(d, ellipsoid(m, {2.7f, -0.3f, 3.3f}, {1.3f, 0.85f, 1.3f}), 0.8f);  // cheekbones
  d = smoothCut(d, ellipsoid(m, {1.5f, 0.75f, 5.0f}, {1.05f, 0.75f, 1.1f}), 0.5f);   // sockets
  d = smoothUnion(d, ellipsoid(m, {1.5f, 0.68f, 4.05f}, {0.92f, 0.66f, 0.85f}), 0.25f);  // eyes
  d = smoothCut(d, lidLine(m), 0.08f);
  d = smoothUnion(d, capsule(p, {0.0f, 1.1f, 4.85f}, {0.0f, -1.0f, 6.2f}, 0.45f, 0.6f), 0.5f);
  d = smoothUnion(d, ellipsoid(m, {0.62f, -1.15f, 5.35f}, {0.45f, 0.42f, 0.5f}), 0.25f);  // wings
  d = smoothCut(d, nostril(m), 0.1f);
  d = smoothUnion(d, upperLip(p), 0.3f);
  d = smoothUnion(d, lowerLip(p), 0.3f);
  d = smoothCut(d, ellipsoid(p, {0.0f, -2.72f, 5.6f}, {1.25f, 0.06f, 0.7f}), 0.06f);  // mouth
  // Ears: a flat shell standing off the side of the skull with a hollow in it.
  float ear = ellipsoid(m, {4.75f, 0.2f, -0.6f}, {0.5f, 1.55f, 0.95f});
  ear = smoothCut(ear, ellipsoid(m, {5.25f, 0.0f, -0.45f}, {0.45f, 0.8f, 0.55f}), 0.15f);
  return smoothUnion(d, ear, 0.3f);
}

// The outermost crossing of the surface on the ray along d: marched inwards from the largest
// radius, then refined by bisection.
Vec3 surfaceOnRay(Vec3 d, float step) {
  float outside = kHeadMaxRadius;
  if (headDistance(d * outside) < 0.0f) return d * kHeadMaxRadius;
  float inside = kHeadMinRadius;
  for (float r = kHeadMaxRadius - step; r > kHeadMinRadius; r -= step) {
    if (headDistance(d * r) < 0.0f) {
      inside = r;
      break;
    }
    outside = r;
  }
  for (int i = 0; i < 14; ++i) {
    const float mid = 0.5f * (inside + outside);
    (headDistance(d * mid) < 0.0f ? inside : outside) = mid;
  }
  return d * std::max(kHeadMinRadius, 0.5f * (inside + outside));
}

// The skin disc fills the picture but for a small margin.
constexpr float kDiscScale = 0.49f;

void swapVertices(Mesh& mesh, uint32_t i, uint32_t j) {
  std::swap(mesh.positions[i], mesh.positions[j]);
  std::swap(mesh.uvs[i], mesh.uvs[j]);
  for (Triangle& t : mesh.triangles) {
    for (uint32_t* k : {&t.a, &t.b, &t.c}) {
      if (*k == i)
        *k = j;
      else if (*k == j)
        *k = i;
    }
  }
}

}  // namespace

Vec3 headSurface(Vec3 d) {
  // Sampled on the right half and mirrored, so twin vertices match exactly.
  const Vec3 p = surfaceOnRay(Vec3(std::fabs(d.x), d.y, d.z), 0.1f);
  return Vec3(d.x < 0.0f ? -p.x : p.x, p.y, p.z);
}

// Stereographic projection from the left ear onto the plane of the face's centre line.
Uv skinCoordinate(Vec3 d) {
  const float k = kDiscScale / (1.0f + std::fabs(d.x));
  return {0.5f + k * d.z, 0.5f + k * d.y};
}

bool skinDirection(Uv uv, Vec3& d) {
  const float a = (uv.u - 0.5f) / kDiscScale, b = (uv.v - 0.5f) / kDiscScale;
  const float rho2 = a * a + b * b;
  d = Vec3((1.0f - rho2) / (1.0f + rho2), 2.0f * b / (1.0f + rho2), 2.0f * a / (1.0f + rho2));
  return rho2 <= 1.0f;
}

SkinMarks skinMarks(Vec3 p) {
  const Vec3 m(std::fabs(p.x), p.y, p.z);
  SkinMarks marks;
  marks.lips = smoothstep(0.2f, 0.0f, std::min(upperLip(p), lowerLip(p)));
  marks.lidLine = smoothstep(0.1f, 0.0f, lidLine(m));
  marks.lids = smoothstep(0.35f, 0.0f, ellipsoid(m, {1.5f, 0.7f, 4.3f}, {1.25f, 1.0f, 1.2f}));
  const float arch = 0.15f * (1.0f - std::pow((m.x - 1.55f) / 1.2f, 2.0f));
  marks.brows =
      smoothstep(0.08f, -0.05f, ellipsoid(m, {1.55f, 1.68f + arch, 4.8f}, {1.2f, 0.24f, 1.4f}));
  marks.nostrils = smoothstep(0.1f, -0.02f, nostril(m));
  return marks;
}

Mesh sculptHead() {
  Mesh mesh;
  auto add = [&](Vec3 d) { return mesh.addVertex(headSurface(d), skinCoordinate(d)); };
  const std::vector<float> rings = ringAngles();
  const uint32_t right = add(Vec3(1, 0, 0));
  for (int r = 1; r < kRings; ++r) {
    for (int s = 0; s < kSegments; ++s) {
      const float psi = segmentAngle(s);
      const float rho = std::sin(rings[r]);
      add(Vec3(std::cos(rings[r]), rho * std::sin(psi), rho * std::cos(psi)));
    }
  }
  const uint32_t left = add(Vec3(-1, 0, 0));
  auto at = [](int ring, int seg) { return uint32_t(1 + ring * kSegments + seg % kSegments); };
  for (int s = 0; s < kSegments; ++s) {
    mesh.addTriangle(right, at(0, s), at(0, s + 1));
    mesh.addTriangle(left, at(kRings - 2, s + 1), at(kRings - 2, s));
    for (int r = 0; r + 1 < kRings - 1; ++r) {
      mesh.addTriangle(at(r, s), at(r + 1, s), at(r + 1, s + 1));
      mesh.addTriangle(at(r, s), at(r + 1, s + 1), at(r, s + 1));
    }
  }
  orientOutward(mesh, 0);
  // The point of the chin: the vertex furthest towards the front and down near the centre line.
  const Vec3 chinward = normalized(Vec3(0.0f, -0.75f, 0.66f));
  uint32_t chin = 0;
  float best = -1e9f;
  for (uint32_t i = 0; i < mesh.positions.size(); ++i) {
    const Vec3 p = mesh.positions[i];
    if (std::fabs(p.x) > 0.3f) continue;
    if (p.dot(chinward) > best) {
      best = p.dot(chinward);
      chin = i;
    }
  }
  swapVertices(mesh, chin, kChinVertex);
  return mesh;
}

std::vector<uint8_t> encodeHeadMesh(const Mesh& mesh, std::string& error) {
  if (mesh.positions.size() > 0xFFFF || mesh.triangles.size() > 0xFFFF) {
    error = "the head has more than 65535 vertices or triangles";
    return {};
  }
  ByteWriter out;
  out.u16(uint16_t(mesh.positions.size()));
  for (const Vec3& p : mesh.positions) out.vec3(p);
  for (const Uv& uv : mesh.uvs) {
    out.f32(uv.u);
    out.f32(uv.v);
  }
  out.u16(uint16_t(mesh.triangles.size()));
  for (const Triangle& t : mesh.triangles) {
    if (t.a >= mesh.positions.size() || t.b >= mesh.positions.size() ||
        t.c >= mesh.positions.size()) {
      error = "a head triangle names a vertex that does not exist";
      return {};
    }
    out.u16(uint16_t(t.a));
    out.u16(uint16_t(t.b));
    out.u16(uint16_t(t.c));
  }
  return out.take();
}

}  // namespace assetgen
