// The head "ex_glowa_new.3ds": a closed surface sculpted as a smooth union of anatomical forms
// (skull, face, jaw, chin, neck, brow, cheekbones, closed eyes in their sockets, nose, lips,
// ears), facing +z, and its writer in the program's own head-mesh format (u16 N; N x xyz; N x uv;
// u16 M; M x abc; little-endian). The skin picture is painted for the head's layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fx/view.h"
#include "tools/forge/meshes/mesh.h"

namespace assetgen {

// Scenes 1 and 2 drag this vertex downwards; the sculpt puts it on the point of the chin.
constexpr uint32_t kChinVertex = kHeadDragVertex;
// Every vertex lies between these distances from the origin (model units).
constexpr float kHeadMinRadius = 4.1f;
constexpr float kHeadMaxRadius = 7.9f;

// One vertex per surface point, no texture seam, so the drag spreads over the whole surface
// without tearing: the skin is laid out as a disc centred on the right ear (a conformal,
// stereographic projection, so the picture keeps its proportions), and the left half of the head
// reuses it mirrored. The face's centre line runs along the disc's rim.
Mesh sculptHead();

// The surface point in the unit direction `d` from the origin (the head is star-shaped around it).
Vec3 headSurface(Vec3 d);
// Where the direction `d` lands in the skin picture, and back: the direction (with x >= 0) of a
// place in the picture; false outside the disc the head uses.
Uv skinCoordinate(Vec3 d);
bool skinDirection(Uv uv, Vec3& d);

// How much of each painted feature covers the surface point p (0..1), for the skin painter.
struct SkinMarks {
  float lips = 0.0f;
  float lidLine = 0.0f;  // the closed eyes' lash line
  float lids = 0.0f;     // the eyelids and the socket around them
  float brows = 0.0f;    // where the eyebrows grow
  float nostrils = 0.0f;
};
SkinMarks skinMarks(Vec3 p);

// The file bytes; empty with a reason when the mesh does not fit the format (over 65535 vertices
// or triangles, or a vertex index out of range).
std::vector<uint8_t> encodeHeadMesh(const Mesh& mesh, std::string& error);

}  // namespace assetgen
