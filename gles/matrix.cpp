#include "gles/matrix.h"

#include <cmath>

namespace gles {

namespace {
constexpr double kPi = 3.14159265358979323846;
float& at(Mat4& m, int row, int column) {
  return m.m[column * 4 + row];
}
}  // namespace

Mat4 identityMatrix() {
  return Mat4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Mat4 multiply(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      r.m[column * 4 + row] = a.m[row] * b.m[column * 4] + a.m[4 + row] * b.m[column * 4 + 1] +
                              a.m[8 + row] * b.m[column * 4 + 2] +
                              a.m[12 + row] * b.m[column * 4 + 3];
  return r;
}

Mat4 rotation(float degrees, float x, float y, float z) {
  Mat4 r = identityMatrix();
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length == 0.0f) return r;
  x /= length, y /= length, z /= length;
  const float radians = float(double(degrees) * kPi / 180.0);
  const float s = std::sin(radians);
  const float c = std::cos(radians);
  const float k = 1.0f - c;
  at(r, 0, 0) = x * x * k + c;
  at(r, 0, 1) = x * y * k - z * s;
  at(r, 0, 2) = x * z * k + y * s;
  at(r, 1, 0) = y * x * k + z * s;
  at(r, 1, 1) = y * y * k + c;
  at(r, 1, 2) = y * z * k - x * s;
  at(r, 2, 0) = x * z * k - y * s;
  at(r, 2, 1) = y * z * k + x * s;
  at(r, 2, 2) = z * z * k + c;
  return r;
}

Mat4 translation(float x, float y, float z) {
  Mat4 r = identityMatrix();
  r.m[12] = x, r.m[13] = y, r.m[14] = z;
  return r;
}

Mat4 scaling(float x, float y, float z) {
  Mat4 r = identityMatrix();
  r.m[0] = x, r.m[5] = y, r.m[10] = z;
  return r;
}

Mat4 orthographic(double left, double right, double bottom, double top, double zNear, double zFar) {
  Mat4 r = identityMatrix();
  r.m[0] = float(2.0 / (right - left));
  r.m[5] = float(2.0 / (top - bottom));
  r.m[10] = float(-2.0 / (zFar - zNear));
  r.m[12] = float(-(right + left) / (right - left));
  r.m[13] = float(-(top + bottom) / (top - bottom));
  r.m[14] = float(-(zFar + zNear) / (zFar - zNear));
  return r;
}

// GLU's construction, in double until the matrix is handed over as floats.
Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar) {
  const double radians = fovyDegrees / 2.0 * kPi / 180.0;
  const double deltaZ = zFar - zNear;
  const double sine = std::sin(radians);
  Mat4 r = identityMatrix();
  if (deltaZ == 0.0 || sine == 0.0 || aspect == 0.0) return r;
  const double cotangent = std::cos(radians) / sine;
  r.m[0] = float(cotangent / aspect);
  r.m[5] = float(cotangent);
  r.m[10] = float(-(zFar + zNear) / deltaZ);
  r.m[11] = -1.0f;
  r.m[14] = float(-2.0 * zNear * zFar / deltaZ);
  r.m[15] = 0.0f;
  return r;
}

void normalMatrix(const Mat4& mv, float out[9]) {
  // a(row, column) of the upper 3x3.
  auto a = [&](int row, int column) { return double(mv.m[column * 4 + row]); };
  const double c00 = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
  const double c01 = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
  const double c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
  const double det = a(0, 0) * c00 + a(0, 1) * c01 + a(0, 2) * c02;
  const double f = det != 0.0 ? 1.0 / det : 0.0;
  // The inverse's transpose is the cofactor matrix over the determinant.
  const double cofactor[3][3] = {
      {c00, c01, c02},
      {a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2), a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0),
       a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)},
      {a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1), a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2),
       a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)}};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      out[column * 3 + row] = float(cofactor[row][column] * f);
}

void transform(const Mat4& m, const float in[4], float out[4]) {
  for (int row = 0; row < 4; ++row)
    out[row] =
        m.m[row] * in[0] + m.m[4 + row] * in[1] + m.m[8 + row] * in[2] + m.m[12 + row] * in[3];
}

bool MatrixStack::push() {
  if (entries_.size() >= depth_) return false;
  entries_.push_back(entries_.back());
  return true;
}

bool MatrixStack::pop() {
  if (entries_.size() <= 1) return false;
  entries_.pop_back();
  return true;
}

}  // namespace gles
