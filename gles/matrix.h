// 4x4 matrices as GL keeps them: column-major floats, each operation multiplying the current
// matrix on the right, in single precision as Mesa's own matrix stack does.
#pragma once

#include <cstddef>
#include <vector>

namespace gles {

struct Mat4 {
  float m[16];
};

Mat4 identityMatrix();
Mat4 multiply(const Mat4& a, const Mat4& b);  // a * b
Mat4 rotation(float degrees, float x, float y, float z);
Mat4 translation(float x, float y, float z);
Mat4 scaling(float x, float y, float z);
Mat4 orthographic(double left, double right, double bottom, double top, double zNear, double zFar);
Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar);
// The upper 3x3 of the inverse, transposed: what eye-space normals are multiplied by. Column-major.
void normalMatrix(const Mat4& modelview, float out[9]);
// m * (x, y, z, w)
void transform(const Mat4& m, const float in[4], float out[4]);

// A stack as GL keeps one per matrix mode; the bottom entry is never popped.
class MatrixStack {
 public:
  explicit MatrixStack(std::size_t depth) : depth_(depth), entries_{identityMatrix()} {}
  Mat4& top() { return entries_.back(); }
  const Mat4& top() const { return entries_.back(); }
  bool push();  // false on overflow
  bool pop();   // false on underflow
  void multiplyTop(const Mat4& by) { top() = multiply(top(), by); }

 private:
  std::size_t depth_;
  std::vector<Mat4> entries_;
};

}  // namespace gles
