#include "support/texture_stretch.h"

#include <algorithm>
#include <cmath>

float textureStretch(const SkinPoint& a, const SkinPoint& b, const SkinPoint& c) {
  const float du1 = b.u - a.u, dv1 = b.v - a.v, du2 = c.u - a.u, dv2 = c.v - a.v;
  const float det = du1 * dv2 - du2 * dv1;
  if (std::fabs(det) < 1e-12f) return 0.0f;
  const Vec3 e1 = b.position - a.position, e2 = c.position - a.position;
  const Vec3 alongU = (e1 * dv2 - e2 * dv1) * (1.0f / det);
  const Vec3 alongV = (e2 * du1 - e1 * du2) * (1.0f / det);
  const float guu = alongU.dot(alongU), gvv = alongV.dot(alongV), guv = alongU.dot(alongV);
  const float half = 0.5f * (guu + gvv);
  const float root = std::sqrt(std::max(0.0f, half * half - (guu * gvv - guv * guv)));
  return half - root > 0.0f ? std::sqrt((half + root) / (half - root)) : 0.0f;
}
