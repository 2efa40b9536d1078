// One input through the head-mesh reader, the neighbour build and a few pokes, as the fuzz target
// and the regression replay both run it. Returns an empty string, or the first broken promise.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "gfx/head_mesh.h"

namespace fuzzcheck {

inline bool sameLength(float a, float b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

// Every list names other vertices of the mesh once each, neighbourhood is symmetric with equal
// rest lengths, and every pair of corners of a face are neighbours.
inline std::string checkNeighbours(const HeadMesh& mesh) {
  if (mesh.vertices.size() != mesh.vertexCount || mesh.faces.size() != mesh.faceCount)
    return "the counts do not match the arrays";
  std::unordered_map<uint32_t, float> edges;
  for (uint32_t i = 0; i < mesh.vertexCount; ++i) {
    for (const HeadNeighbour* n = mesh.vertices[i].neighbours; n; n = n->next) {
      if (n->index >= mesh.vertexCount) return "a neighbour past the vertices";
      if (n->index == i) return "a vertex is its own neighbour";
      if (!edges.emplace(i << 16 | n->index, n->restLength).second) return "a neighbour twice";
    }
  }
  for (const auto& [key, length] : edges) {
    const auto back = edges.find((key & 0xFFFF) << 16 | key >> 16);
    if (back == edges.end()) return "a neighbourhood that is not symmetric";
    if (!sameLength(back->second, length)) return "rest lengths differ between the two ends";
  }
  for (const HeadFace& f : mesh.faces) {
    const uint16_t corners[3] = {f.a, f.b, f.c};
    for (uint16_t p : corners)
      for (uint16_t k : corners)
        if (p != k && !edges.count(uint32_t(p) << 16 | k)) return "a face corner is missing";
  }
  return "";
}

// After a poke every flag and offset is clear again, whatever the wave did.
inline std::string checkPokeReset(const HeadMesh& mesh) {
  for (const HeadVertex& v : mesh.vertices) {
    if (v.locked || v.pending || v.spreading) return "a poke left a flag set";
    if (v.offset.x != 0.0f || v.offset.y != 0.0f || v.offset.z != 0.0f)
      return "a poke left an offset";
  }
  return "";
}

inline std::string exerciseHead(const uint8_t* data, size_t size) {
  HeadMesh mesh;
  if (!mesh.parse(data, size)) {
    if (mesh.vertexCount || mesh.faceCount || !mesh.vertices.empty() || !mesh.faces.empty())
      return "a refused file left part of a mesh";
    return "";
  }
  if (std::string problem = checkNeighbours(mesh); !problem.empty()) return problem;
  const uint32_t n = mesh.vertexCount;
  const uint32_t targets[] = {0, n / 2, n ? n - 1 : 0, n, 0xFFFFFFFFu};
  const Vec3 pushes[] = {{0.5f, -0.25f, 1.0f},
                         {-3.0f, 0.0f, 2.0f},
                         {1e20f, 0.0f, -1e20f},
                         {0.0f, 0.0f, 0.0f},
                         {1.0f, 1.0f, 1.0f}};
  for (int i = 0; i < 5; ++i) {
    mesh.poke(targets[i], pushes[i]);
    if (std::string problem = checkPokeReset(mesh); !problem.empty()) return problem;
  }
  return "";
}

}  // namespace fuzzcheck
