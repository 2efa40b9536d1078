// The head: a mesh of its own simple file format ("ex_glowa_new.3ds", not a 3DS chunk file) with a
// list of neighbours per vertex and their rest lengths. Reading and the neighbour lists are in
// head_mesh.cpp, the deformation (poke) and the flat-shaded drawing in head_deform.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/vec3.h"

struct HeadFace {
  uint16_t a = 0;
  uint16_t b = 0;
  uint16_t c = 0;
};

struct HeadNeighbour {
  HeadNeighbour* next = nullptr;
  uint16_t index = 0;       // the neighbouring vertex
  float restLength = 0.0f;  // distance between the two vertices as loaded (model units)
};

struct HeadVertex {
  Vec3 position;
  Vec3 offset;  // displacement gathered during a poke; zero outside it
  float u = 0.0f;
  float v = 0.0f;
  int32_t locked = 0;     // no longer pulled by its neighbours (during a poke)
  int32_t pending = 0;    // its neighbours still have to be pulled from it (during a poke)
  int32_t spreading = 0;  // pulled a neighbour in the current sweep (during a poke)
  HeadNeighbour* neighbours = nullptr;  // front first; freed by HeadMesh::clear

  void addNeighbour(uint16_t index, float restLength);
  int hasNeighbour(uint16_t index) const;
};

class HeadMesh {
 public:
  HeadMesh() = default;
  ~HeadMesh() { clear(); }
  HeadMesh(const HeadMesh&) = delete;
  HeadMesh& operator=(const HeadMesh&) = delete;

  // Reads the file and builds the neighbour lists. A missing file, one that ends early, or a face
  // index at or above the vertex count leaves the mesh empty (false), and the reason goes to stderr
  // with the file's name.
  bool load(const char* fileName);
  bool parse(const uint8_t* data, size_t size);
  // Why the last load or parse refused its input; empty after one that succeeded.
  const std::string& failure() const { return failure_; }
  void buildNeighbours();
  void clear();

  // Drags vertex `index` by `displacement` and spreads the drag through the neighbour lists. An
  // index at or above vertexCount does nothing.
  void poke(uint32_t index, Vec3 displacement);
  // Draws the mesh flat-shaded in immediate mode; the caller binds the texture and sets the state.
  void drawFlat() const;

  uint16_t faceCount = 0;
  uint16_t vertexCount = 0;
  std::vector<HeadFace> faces;
  std::vector<HeadVertex> vertices;

 private:
  std::string failure_;
};
