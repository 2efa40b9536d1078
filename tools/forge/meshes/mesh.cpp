// Mesh parts: tubes swept along paths, boxes and blobs, each oriented outwards on its own.
#include "tools/forge/meshes/mesh.h"

#include <cmath>

namespace assetgen {

uint32_t Mesh::addVertex(Vec3 p, Uv uv) {
  positions.push_back(p);
  uvs.push_back(uv);
  return uint32_t(positions.size() - 1);
}

void Mesh::append(const Mesh& other) {
  const uint32_t base = uint32_t(positions.size());
  positions.insert(positions.end(), other.positions.begin(), other.positions.end());
  uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
  for (const Triangle& t : other.triangles) addTriangle(t.a + base, t.b + base, t.c + base);
}

Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalized(Vec3 v) {
  Vec3 out = v;
  out.normalize();
  return out;
}

Vec3 rotate(Vec3 p, Vec3 axis, float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  return p * c + cross(axis, p) * s + axis * (axis.dot(p) * (1.0f - c));
}

double signedVolume(const Mesh& mesh, size_t firstTriangle) {
  double sum = 0.0;
  for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) {
    const Triangle& t = mesh.triangles[i];
    const Vec3 a = mesh.positions[t.a], b = mesh.positions[t.b], c = mesh.positions[t.c];
    sum += double(a.dot(cross(b, c)));
  }
  return sum;
}

void orientOutward(Mesh& mesh, size_t firstTriangle) {
  if (signedVolume(mesh, firstTriangle) >= 0.0) return;
  for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) {
    std::swap(mesh.triangles[i].b, mesh.triangles[i].c);
  }
}

std::vector<ProfilePoint> circleProfile(int segments) {
  std::vector<ProfilePoint> out;
  for (int i = 0; i < segments; ++i) {
    const float a = 6.2831853f * float(i) / float(segments);
    out.push_back({std::cos(a), std::sin(a)});
  }
  return out;
}

std::vector<ProfilePoint> rectProfile(float halfN, float halfB) {
  return {{halfN, -halfB}, {halfN, halfB}, {-halfN, halfB}, {-halfN, -halfB}};
}

namespace {

struct Frame {
  Vec3 n, b;
};

// Parallel transport: each frame is the previous one turned by the least rotation onto the new
// tangent, so tubes do not twist.
std::vector<Frame> transportFrames(const std::vector<Vec3>& path, Vec3 up, bool closed) {
  const size_t count = path.size();
  std::vector<Vec3> tangents(count);
  for (size_t i = 0; i < count; ++i) {
    const Vec3 prev = (i > 0) ? path[i - 1] : (closed ? path[count - 2] : path[i]);
    const Vec3 next = (i + 1 < count) ? path[i + 1] : (closed ? path[1] : path[i]);
    tangents[i] = normalized(next - prev);
  }
  std::vector<Frame> frames(count);
  Vec3 n = cross(cross(tangents[0], up), tangents[0]);
  if (n.length() < 1e-4f) n = cross(cross(tangents[0], Vec3(1, 0, 0)), tangents[0]);
  n = normalized(n);
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) {
      const Vec3 axis = cross(tangents[i - 1], tangents[i]);
      const float s = axis.length();
      if (s > 1e-6f) {
        const float angle = std::atan2(s, tangents[i - 1].dot(tangents[i]));
        n = rotate(n, axis * (1.0f / s), angle);
      }
      n = normalized(n - tangents[i] * n.dot(tangents[i]));
    }
    frames[i] = {n, cross(tangents[i], n)};
  }
  return frames;
}

}  // namespace

void addTube(Mesh& mesh, const TubeSpec& desc) {
  const size_t first = mesh.triangles.size();
  const std::vector<Frame> frames = transportFrames(desc.path, desc.up, desc.closedLoop);
  const size_t rings = desc.path.size();
  const size_t sides = desc.profile.size();
  // Columns of vertices around the ring; with hard edges each side has its own pair.
  const size_t columns = desc.hardEdges ? sides * 2 : sides + 1;
  auto profileAt = [&](size_t column) -> ProfilePoint {
    if (!desc.hardEdges) return desc.profile[column % sides];
    return desc.profile[(column / 2 + column % 2) % sides];
  };
  // The profile's length from its first point to point k (k = sides: the whole way round).
  std::vector<float> perimeter(sides + 1, 0.0f);
  for (size_t k = 1; k <= sides; ++k) {
    const ProfilePoint a = desc.profile[k - 1], b = desc.profile[k % sides];
    perimeter[k] = perimeter[k - 1] + std::hypot(b.n - a.n, b.b - a.b);
  }
  std::vector<uint32_t> grid(rings * columns);
  float along = 0.0f;
  for (size_t r = 0; r < rings; ++r) {
    if (r > 0) along += (desc.path[r] - desc.path[r - 1]).length();
    for (size_t c = 0; c < columns; ++c) {
      const ProfilePoint p = profileAt(c);
      const Vec3 pos = desc.path[r] + (frames[r].n * p.n + frames[r].b * p.b) * desc.radius[r];
      const float around = perimeter[desc.hardEdges ? (c / 2 + c % 2) : c];
      Uv uv{around / perimeter[sides] * desc.uTile, along * 0.1f * desc.vTile};
      if (desc.tileSize > 0.0f)
        uv = {around * desc.radius[r] / desc.tileSize, along / desc.tileSize};
      grid[r * columns + c] = mesh.addVertex(pos, uv);
    }
  }
  for (size_t r = 0; r + 1 < rings; ++r) {
    for (size_t c = 0; c < columns; c += desc.hardEdges ? 2 : 1) {
      if (!desc.hardEdges && c + 1 >= columns) break;
      const uint32_t a = grid[r * columns + c], b = grid[r * columns + c + 1];
      const uint32_t d = grid[(r + 1) * columns + c], e = grid[(r + 1) * columns + c + 1];
      mesh.addTriangle(a, b, e);
      mesh.addTriangle(a, e, d);
    }
  }
  if (!desc.closedLoop) {
    for (size_t end = 0; end < 2; ++end) {
      const size_t r = end == 0 ? 0 : rings - 1;
      const uint32_t centre = mesh.addVertex(desc.path[r], {0.5f, 0.5f});
      std::vector<uint32_t> rim;
      for (size_t s = 0; s < sides; ++s) {
        const ProfilePoint p = desc.profile[s];
        const Vec3 pos = desc.path[r] + (frames[r].n * p.n + frames[r].b * p.b) * desc.radius[r];
        const float capScale = desc.tileSize > 0.0f ? desc.radius[r] / desc.tileSize : 0.5f;
        rim.push_back(mesh.addVertex(pos, {0.5f + capScale * p.n, 0.5f + capScale * p.b}));
      }
      for (size_t s = 0; s < sides; ++s) {
        if (end == 0)
          mesh.addTriangle(centre, rim[(s + 1) % sides], rim[s]);
        else
          mesh.addTriangle(centre, rim[s], rim[(s + 1) % sides]);
      }
    }
  }
  orientOutward(mesh, first);
}

void addBox(Mesh& mesh, Vec3 centre, Vec3 axisX, Vec3 axisY, Vec3 axisZ, Vec3 half, float uvScale) {
  const size_t first = mesh.triangles.size();
  const Vec3 ax = axisX * half.x, ay = axisY * half.y, az = axisZ * half.z;
  const Vec3 faces[6][3] = {{ax, ay, az},      {ax * -1, az, ay}, {ay, az, ax},
                            {ay * -1, ax, az}, {az, ax, ay},      {az * -1, ay, ax}};
  for (const auto& f : faces) {
    const Vec3 n = f[0], s = f[1], t = f[2];
    const float su = s.length() * uvScale, tv = t.length() * uvScale;
    const uint32_t a = mesh.addVertex(centre + n - s - t, {0, 0});
    const uint32_t b = mesh.addVertex(centre + n + s - t, {su, 0});
    const uint32_t c = mesh.addVertex(centre + n + s + t, {su, tv});
    const uint32_t d = mesh.addVertex(centre + n - s + t, {0, tv});
    mesh.addTriangle(a, b, c);
    mesh.addTriangle(a, c, d);
  }
  // Each face was wound by its own pair of axes; turn the ones that face inwards.
  for (size_t i = first; i < mesh.triangles.size(); i += 2) {
    Triangle& t0 = mesh.triangles[i];
    const Vec3 p0 = mesh.positions[t0.a];
    const Vec3 normal = cross(mesh.positions[t0.b] - p0, mesh.positions[t0.c] - p0);
    if (normal.dot(p0 - centre) < 0.0f) {
      std::swap(t0.b, t0.c);
      std::swap(mesh.triangles[i + 1].b, mesh.triangles[i + 1].c);
    }
  }
}

void addBlob(Mesh& mesh, Vec3 centre, int rings, int segments,
             const std::function<float(Vec3)>& radiusOf, float uTile, float vTile) {
  const size_t first = mesh.triangles.size();
  auto at = [&](Vec3 dir, Uv uv) { return mesh.addVertex(centre + dir * radiusOf(dir), uv); };
  std::vector<uint32_t> grid;
  for (int r = 1; r < rings; ++r) {
    const float lat = 3.14159265f * float(r) / float(rings);
    for (int s = 0; s <= segments; ++s) {
      const float lon = 6.2831853f * float(s) / float(segments);
      const Vec3 dir(std::sin(lat) * std::cos(lon), std::cos(lat), std::sin(lat) * std::sin(lon));
      grid.push_back(at(dir, {float(s) / float(segments) * uTile, float(r) / rings * vTile}));
    }
  }
  const int cols = segments + 1;
  for (int r = 0; r + 1 < rings - 1; ++r) {
    for (int s = 0; s < segments; ++s) {
      const uint32_t a = grid[r * cols + s], b = grid[r * cols + s + 1];
      const uint32_t c = grid[(r + 1) * cols + s], d = grid[(r + 1) * cols + s + 1];
      mesh.addTriangle(a, b, d);
      mesh.addTriangle(a, d, c);
    }
  }
  const uint32_t top = at(Vec3(0, 1, 0), {0.5f * uTile, 0});
  const uint32_t bottom = at(Vec3(0, -1, 0), {0.5f * uTile, vTile});
  const int last = (rings - 2) * cols;
  for (int s = 0; s < segments; ++s) {
    mesh.addTriangle(top, grid[s + 1], grid[s]);
    mesh.addTriangle(bottom, grid[last + s], grid[last + s + 1]);
  }
  orientOutward(mesh, first);
}

}  // namespace assetgen
