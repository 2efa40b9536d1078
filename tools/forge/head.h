// The head "ex_glowa_new.3ds": a closed surface sculpted from an ellipsoid (brow, eye sockets,
// nose, cheeks, lips, jaw, chin, ears), facing +z, and its writer in the program's own head-mesh
// format (u16 N; N x xyz; N x uv; u16 M; M x abc; little-endian).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/forge/mesh.h"

namespace assetgen {

// Scenes 1 and 2 drag this vertex downwards; the sculpt puts it on the point of the chin.
constexpr uint32_t kChinVertex = 1084;
// Every vertex lies between these distances from the origin (model units).
constexpr float kHeadMinRadius = 4.1f;
constexpr float kHeadMaxRadius = 7.9f;

// One vertex per surface point, no texture seam (the skin is mirrored about the face's centre
// line), so the drag spreads over the whole surface without tearing.
Mesh sculptHead();

// The file bytes; empty with a reason when the mesh does not fit the format (over 65535 vertices
// or triangles, or a vertex index out of range).
std::vector<uint8_t> encodeHeadMesh(const Mesh& mesh, std::string& error);

}  // namespace assetgen
