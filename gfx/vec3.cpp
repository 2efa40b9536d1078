#include "gfx/vec3.h"

#include <cmath>

float Vec3::dot(Vec3 v) const {
  const double sum = double(v.x) * x + double(v.y) * y;
  return float(sum + double(v.z) * z);
}

float Vec3::length() const {
  return float(std::sqrt(double(x) * x + double(y) * y + double(z) * z));
}

void Vec3::normalize() {
  const float len = length();
  if (len == 0.0f) return;
  x = float(double(x) / len);
  y = float(double(y) / len);
  z = float(double(z) / len);
}

void Vec3::setLength(float len) {
  const float current = length();
  if (current == 0.0f) return;
  const float k = float(double(len) / current);
  x = float(double(k) * x);
  y = float(double(k) * y);
  z = float(double(k) * z);
}

void Vec3::setFaceNormal(float x1, float y1, float z1, float x2, float y2, float z2, float x3,
                         float y3, float z3) {
  const double ex = double(x2) - x1, ey = double(y2) - y1, ez = double(z2) - z1;
  const double fx = double(x3) - x1, fy = double(y3) - y1, fz = double(z3) - z1;
  x = float(ey * fz - fy * ez);
  y = float(ez * fx - fz * ex);
  z = float(ex * fy - fx * ey);
}

Vec3 Vec3::operator+(Vec3 v) const {
  return Vec3(float(double(x) + v.x), float(double(y) + v.y), float(double(z) + v.z));
}

Vec3 Vec3::operator-(Vec3 v) const {
  return Vec3(float(double(x) - v.x), float(double(y) - v.y), float(double(z) - v.z));
}

Vec3 Vec3::operator*(float s) const {
  return Vec3(float(double(s) * x), float(double(s) * y), float(double(s) * z));
}
