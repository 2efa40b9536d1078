// Sculpting the head: a latitude-longitude sphere whose poles sit at the ears (so the face lies on
// the evenly sampled equator), pushed out to an ellipsoid and shaped by smooth bumps and dents.
#include "tools/forge/head.h"

#include <cmath>

#include "tools/forge/byte_writer.h"

namespace assetgen {

namespace {

// Rings run from the right ear (+x) to the left ear, segments around the x axis. Both are spaced
// unevenly: twice as close as the average near the face's centre line, three times closer in
// front than at the back of the skull, so the nose, eyes and mouth keep their shape with a
// fraction of the triangles an even grid of the same detail would need.
constexpr int kRings = 36;
constexpr int kSegments = 64;
constexpr float kRingCentreSpacing = 0.5f;  // relative to even spacing, at the centre line
constexpr float kSegmentFrontBias = 0.5f;   // 0 even; front spacing 1 - bias, back 1 + bias

// Angle from the +x axis of ring r: odd in (2t - 1), so the rings stay mirrored about x = 0.
float ringAngle(int r) {
  const float u = 2.0f * float(r) / float(kRings) - 1.0f;
  const float a = kRingCentreSpacing;
  return 0.5f * kPi * (1.0f + a * u + (1.0f - a) * u * u * u);
}

// Angle about the x axis of segment s, 0 facing +z: symmetric about the front.
float segmentAngle(int s) {
  const float v = 2.0f * kPi * float(s) / float(kSegments);
  return v - kSegmentFrontBias * std::sin(v);
}

float bump(float t, float sigma) {
  return std::exp(-(t * t) / (2.0f * sigma * sigma));
}
float step(float e0, float e1, float x) {
  float t = (x - e0) / (e1 - e0);
  t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
  return t * t * (3.0f - 2.0f * t);
}

// The features, as a push along the direction, from the point's place (X, Y, Z) on the unit
// sphere of the base ellipsoid; symmetric in X.
float featureOffset(float X, float Y, float Z) {
  const float front = step(0.05f, 0.55f, Z);
  const float ax = std::fabs(X);
  float o = 0.0f;
  o += 0.8f * bump(Y - 0.25f, 0.06f) * bump(X, 0.45f) * front;             // brow ridge
  o -= 1.5f * bump(ax - 0.36f, 0.13f) * bump(Y - 0.1f, 0.11f) * front;     // eye sockets
  o += 0.5f * bump(ax - 0.36f, 0.055f) * bump(Y - 0.09f, 0.045f) * front;  // eyeballs
  const float noseLength = step(0.2f, -0.22f, Y) * (1.0f - step(-0.21f, -0.3f, Y));
  o += 2.0f * noseLength * bump(X, 0.05f + 0.11f * step(0.1f, -0.25f, Y)) * front;  // nose
  o += 0.45f * bump(ax - 0.11f, 0.05f) * bump(Y + 0.25f, 0.04f) * front;            // nostril wings
  o += 0.6f * bump(ax - 0.5f, 0.13f) * bump(Y + 0.02f, 0.11f) * front;              // cheekbones
  o -= 0.4f * bump(ax - 0.48f, 0.14f) * bump(Y + 0.38f, 0.11f) * front;             // cheek hollows
  o += 0.55f * bump(X, 0.19f) * bump(Y + 0.43f, 0.07f) * front;                     // lips
  o -= 0.7f * bump(X, 0.17f) * bump(Y + 0.44f, 0.03f) * front;                      // mouth line
  o += 0.8f * bump(X, 0.17f) * bump(Y + 0.7f, 0.09f) * front;                       // chin
  o += 1.0f * bump(Y - 0.02f, 0.16f) * bump(Z + 0.05f, 0.13f) * step(0.8f, 0.97f, ax);  // ears
  return o;
}

Vec3 headPoint(Vec3 d) {
  const float a = 5.0f, b = 6.5f, c = 5.9f;  // half width, half height, half depth
  const float r0 =
      1.0f / std::sqrt((d.x / a) * (d.x / a) + (d.y / b) * (d.y / b) + (d.z / c) * (d.z / c));
  Vec3 q = d * r0;
  const float X = q.x / a, Y = q.y / b, Z = q.z / c;
  q.x *= 1.0f - 0.26f * step(-0.05f, -0.85f, Y) * step(-0.6f, 0.3f, Z);  // the jaw narrows
  q.z -= 0.7f * step(0.2f, -0.7f, Z) * step(-0.7f, 0.3f, Y);             // the skull's back
  q.z -= 0.9f * step(0.0f, -0.6f, Z) * step(-0.3f, -0.9f, Y);            // under the skull
  q = q + d * featureOffset(X, Y, Z);
  const float len = q.length();
  if (len < kHeadMinRadius) q = q * (kHeadMinRadius / len);
  if (len > kHeadMaxRadius) q = q * (kHeadMaxRadius / len);
  return q;
}

// Mirrored about the face's centre line (u = 0 in front, 1 at the back): continuous everywhere.
Uv skinCoordinate(Vec3 d) {
  return {std::fabs(std::atan2(d.x, d.z)) / kPi, 0.5f + 0.5f * d.y};
}

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

Mesh sculptHead() {
  Mesh mesh;
  auto add = [&](Vec3 d) { return mesh.addVertex(headPoint(d), skinCoordinate(d)); };
  const uint32_t right = add(Vec3(1, 0, 0));
  for (int r = 1; r < kRings; ++r) {
    const float lambda = ringAngle(r);
    for (int s = 0; s < kSegments; ++s) {
      const float psi = segmentAngle(s);
      const float rho = std::sin(lambda);
      add(Vec3(std::cos(lambda), rho * std::sin(psi), rho * std::cos(psi)));
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
