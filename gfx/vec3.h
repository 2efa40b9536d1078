// The one vector type: three single-precision floats. Intermediate arithmetic is done in double
// precision and rounded to float only where a component is stored or a value returned.
#pragma once

#include <cmath>

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  Vec3() = default;
  Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

  void set(float x_, float y_, float z_) {
    x = x_;
    y = y_;
    z = z_;
  }
  float dot(Vec3 v) const;
  float length() const;
  // A vector of length exactly 0 is left unchanged by both.
  void normalize();
  void setLength(float len);
  // (p2 - p1) x (p3 - p1), not normalised: twice the triangle's area, towards a viewer who sees the
  // corners counter-clockwise.
  void setFaceNormal(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
                     float z3);

  Vec3 operator+(Vec3 v) const;
  Vec3 operator-(Vec3 v) const;
  Vec3 operator*(float s) const;
};

static_assert(sizeof(Vec3) == 12, "Vec3 is three packed floats");

// Inline: the poke spends most of its time in these, and calls out of line cost more than the
// arithmetic. The operations are the same either way (no contraction into fused multiply-adds
// under the ISO language mode the build uses).
inline float Vec3::dot(Vec3 v) const {
  const double sum = double(v.x) * x + double(v.y) * y;
  return float(sum + double(v.z) * z);
}

inline float Vec3::length() const {
  return float(std::sqrt(double(x) * x + double(y) * y + double(z) * z));
}

inline void Vec3::normalize() {
  const float len = length();
  if (len == 0.0f) return;
  x = float(double(x) / len);
  y = float(double(y) / len);
  z = float(double(z) / len);
}

inline void Vec3::setLength(float len) {
  const float current = length();
  if (current == 0.0f) return;
  const float k = float(double(len) / current);
  x = float(double(k) * x);
  y = float(double(k) * y);
  z = float(double(k) * z);
}

inline void Vec3::setFaceNormal(float x1, float y1, float z1, float x2, float y2, float z2,
                                float x3, float y3, float z3) {
  const double ex = double(x2) - x1, ey = double(y2) - y1, ez = double(z2) - z1;
  const double fx = double(x3) - x1, fy = double(y3) - y1, fz = double(z3) - z1;
  x = float(ey * fz - fy * ez);
  y = float(ez * fx - fz * ex);
  z = float(ex * fy - fx * ey);
}

inline Vec3 Vec3::operator+(Vec3 v) const {
  return Vec3(float(double(x) + v.x), float(double(y) + v.y), float(double(z) + v.z));
}

inline Vec3 Vec3::operator-(Vec3 v) const {
  return Vec3(float(double(x) - v.x), float(double(y) - v.y), float(double(z) - v.z));
}

inline Vec3 Vec3::operator*(float s) const {
  return Vec3(float(double(s) * x), float(double(s) * y), float(double(s) * z));
}
