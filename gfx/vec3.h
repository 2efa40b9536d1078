// The one vector type: three single-precision floats. Intermediate arithmetic is done in double
// precision and rounded to float only where a component is stored or a value returned.
#pragma once

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
