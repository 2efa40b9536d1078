// A scene read from a 3DS chunk file: triangle-mesh objects and materials with their primary
// texture maps. The reader (scene3ds_reader.cpp) takes only the chunks listed there and skips the
// rest by length; preparation and drawing (scene3ds_prepare.cpp) upload textures, apply texture
// maps, compute normals and compile one display list per object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/byte_reader.h"
#include "gfx/vec3.h"
#include "model3ds/element_list.h"

struct TexCoord3ds {
  float u = 0.0f;
  float v = 0.0f;
};

struct Vertex3ds {
  Vec3 position;         // after the reader's axis change: file (x, y, z) becomes (x, z, -y)
  Vec3 normal;           // valid once the object's hasNormals is 1
  TexCoord3ds texCoord;  // valid once the object's hasTexCoords is 1
};

struct Face3ds {
  uint16_t a = 0;
  uint16_t b = 0;
  uint16_t c = 0;
  uint16_t flags = 0;  // stored as read, never interpreted
  Vec3 normal;         // valid once the object's hasNormals is 1
};

struct TextureMap3ds {
  std::string fileName;
  float vScale = 1.0f;
  float uScale = 1.0f;
  float vOffset = 0.0f;
  float uOffset = 0.0f;
  float angle = 0.0f;  // read, never applied
};

struct Material3ds {
  ~Material3ds();
  // Uploads tightly packed 3-byte pixels as the material's texture (one level, linear filters).
  void createTexture(uint16_t width, uint16_t height, uint8_t bitsPerPixel, uint32_t pixelFormat,
                     const uint8_t* pixels);

  uint32_t texture = 0;  // GL texture name; 0 = none
  std::optional<std::string> name;
  std::unique_ptr<TextureMap3ds> textureMap;  // empty without a MAT_TEXMAP chunk
};

struct Object3ds {
  ~Object3ds();
  void applyTextureMap();
  void computeNormals();
  void buildDisplayList();
  void draw() const;

  uint32_t displayList = 0;  // GL display-list name; 0 until compiled
  std::string name;
  std::optional<std::string> materialName;  // from the object's last MSH_MAT_GROUP
  uint16_t vertexCount = 0;
  uint16_t faceCount = 0;
  std::vector<Vertex3ds> vertices;
  std::vector<Face3ds> faces;
  Material3ds* material = nullptr;  // not owned: a material of the same scene
  int32_t hasMaterial = 0;
  int32_t hasTexCoords = 0;
  int32_t hasNormals = 0;
};

class Scene3ds {
 public:
  Scene3ds() = default;
  ~Scene3ds() { clear(); }
  Scene3ds(const Scene3ds&) = delete;
  Scene3ds& operator=(const Scene3ds&) = delete;

  // Opens, reads (format 1 is the 3DS chunk reader, the only one), resolves materials, uploads
  // textures and prepares every object. 0 when the file cannot be opened, 1 otherwise. A file
  // refused or read only in part has its reason written to stderr with its name.
  int load(const char* path, uint8_t format);
  // Reads the chunk stream from the start of a file's bytes: 0 when it does not begin with
  // M3DMAGIC (nothing read), 1 otherwise, also when the read stopped before the end.
  int readChunks(ByteReader& reader);
  // Why the last load or readChunks refused the file or stopped before its end; empty when the
  // whole file was read.
  const std::string& failure() const { return failure_; }
  void resolveMaterials();
  // Objects first, then materials: no object outlives the material it refers to.
  void clear();
  void draw() const;

  ElementList<Object3ds> objects;
  ElementList<Material3ds> materials;

 private:
  std::string failure_;
};

// Reads one NUL-terminated string of at most 99 characters (the excess is dropped); the end of the
// data ends the string.
std::string readChunkString(ByteReader& reader);
