// The 3DS chunk reader: walks the file as one flat stream of chunks, takes the few ids a scene
// needs and skips every other chunk, with all it contains, by its length. Also material resolution
// and the teardowns of the records.
#include <algorithm>
#include <cstring>

#include "gfx/gl.h"
#include "gfx/little_endian.h"
#include "model3ds/chunk_ids.h"
#include "model3ds/scene3ds.h"
#include "platform/platform.h"

namespace {

using namespace chunk3ds;

constexpr size_t kChunkHeaderSize = 6;
constexpr size_t kMaxStringLength = 99;
constexpr size_t kPointSize = 12;
constexpr size_t kFaceSize = 8;
constexpr size_t kTexCoordSize = 8;

// The records the next data chunks write into. They outlive the containers that opened them: the
// stream is flat, so nothing marks where a container ends.
struct ReadState {
  Object3ds* object = nullptr;
  Material3ds* material = nullptr;
  TextureMap3ds* textureMap = nullptr;
};

std::string chunkAt(uint16_t id, size_t start) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex = "0x";
  for (int shift = 12; shift >= 0; shift -= 4) hex.push_back(kHex[(id >> shift) & 15]);
  return "chunk " + hex + " at byte " + std::to_string(start);
}

// Moves to the end of a chunk whose header has just been read. False, with the reason, and the
// read ends, when the length would move backwards (no progress) or past the end of the data.
bool skipChunk(ByteReader& reader, size_t chunkStart, uint16_t id, uint32_t length,
               std::string& why) {
  if (length < kChunkHeaderSize) {
    why = chunkAt(id, chunkStart) + " has length " + std::to_string(length) +
          ", less than its own header";
    return false;
  }
  if (length > reader.size() - chunkStart) {
    why = chunkAt(id, chunkStart) + " has length " + std::to_string(length) + ", but only " +
          std::to_string(reader.size() - chunkStart) + " bytes are left";
    return false;
  }
  return reader.skip(int64_t(length) - int64_t(kChunkHeaderSize));
}

// Records only the vertices the data holds, so vertexCount never claims more than exists; false
// when the array was cut short.
bool readPointArray(ByteReader& reader, Object3ds& object) {
  uint16_t count;
  if (!reader.readU16(count)) return false;
  const size_t available = std::min<size_t>(count, reader.remaining() / kPointSize);
  std::vector<Vertex3ds> vertices(available);
  const uint8_t* p = reader.current();
  for (Vertex3ds& vertex : vertices) {
    vertex.position.set(loadF32Le(p), loadF32Le(p + 8), -loadF32Le(p + 4));
    p += kPointSize;
  }
  reader.skip(int64_t(available * kPointSize));
  object.vertices = std::move(vertices);
  object.vertexCount = uint16_t(available);
  // The new vertices have no coordinates, whatever an earlier TEX_VERTS gave the old ones.
  object.hasTexCoords = 0;
  return available == count;
}

bool readFaceArray(ByteReader& reader, Object3ds& object) {
  uint16_t count;
  if (!reader.readU16(count)) return false;
  const size_t available = std::min<size_t>(count, reader.remaining() / kFaceSize);
  std::vector<Face3ds> faces(available);
  const uint8_t* p = reader.current();
  for (Face3ds& face : faces) {
    face.a = loadU16Le(p);
    face.b = loadU16Le(p + 2);
    face.c = loadU16Le(p + 4);
    face.flags = loadU16Le(p + 6);
    p += kFaceSize;
  }
  reader.skip(int64_t(available * kFaceSize));
  object.faces = std::move(faces);
  object.faceCount = uint16_t(available);
  return available == count;
}

bool readMaterialGroup(ByteReader& reader, Object3ds& object) {
  object.materialName = readChunkString(reader);
  uint16_t faceIndexCount;
  if (!reader.readU16(faceIndexCount)) return false;
  return reader.skip(int64_t(faceIndexCount) * 2);
}

// The chunk's own count is not trusted: the object's vertices decide how many pairs follow.
bool readTexVerts(ByteReader& reader, Object3ds& object) {
  if (!reader.skip(2)) return false;
  const size_t wanted = object.vertices.size();
  const size_t available = std::min(wanted, reader.remaining() / kTexCoordSize);
  const uint8_t* p = reader.current();
  for (size_t i = 0; i < available; ++i) {
    object.vertices[i].texCoord = {loadF32Le(p), loadF32Le(p + 4)};
    p += kTexCoordSize;
  }
  reader.skip(int64_t(available * kTexCoordSize));
  object.hasTexCoords = available == wanted ? 1 : 0;
  return available == wanted;
}

bool readMaterialChunk(uint16_t id, ByteReader& reader, ReadState& state) {
  Material3ds& material = *state.material;
  if (id == kMatName) {
    material.name = readChunkString(reader);
  } else {
    material.textureMap = std::make_unique<TextureMap3ds>();
    state.textureMap = material.textureMap.get();
  }
  return true;
}

bool readTextureMapChunk(uint16_t id, ByteReader& reader, TextureMap3ds& map) {
  switch (id) {
    case kMatMapname:
      map.fileName = readChunkString(reader);
      return true;
    case kMatMapUScale:
      return reader.readF32(map.uScale);
    case kMatMapVScale:
      return reader.readF32(map.vScale);
    case kMatMapUOffset:
      return reader.readF32(map.uOffset);
    case kMatMapVOffset:
      return reader.readF32(map.vOffset);
    default:
      return reader.readF32(map.angle);
  }
}

bool readObjectChunk(uint16_t id, ByteReader& reader, Object3ds& object) {
  switch (id) {
    case kPointArray:
      return readPointArray(reader, object);
    case kFaceArray:
      return readFaceArray(reader, object);
    case kMatGroup:
      return readMaterialGroup(reader, object);
    default:
      return readTexVerts(reader, object);
  }
}

// Reads one chunk header and what the id calls for. False ends the read: at the end of the data
// (`why` stays empty), or with the reason when the data ran out inside a chunk or a length cannot
// be followed.
bool readChunk(Scene3ds& scene, ByteReader& reader, ReadState& state, std::string& why) {
  const size_t start = reader.position();
  if (reader.atEnd()) return false;
  uint16_t id = 0;
  uint32_t length;
  if (!reader.readU16(id) || !reader.readU32(length)) {
    why = "the file ends inside the chunk header at byte " + std::to_string(start);
    return false;
  }
  const auto cutShort = [&](bool read) {
    if (!read) why = "the file ends inside the " + chunkAt(id, start);
    return read;
  };
  switch (id) {
    case kMdata:
    case kTriObject:
      return true;
    case kNamedObject:
      state.object = scene.objects.add();
      state.object->name = readChunkString(reader);
      return true;
    case kPointArray:
    case kFaceArray:
    case kMatGroup:
    case kTexVerts:
      if (!state.object) return skipChunk(reader, start, id, length, why);
      return cutShort(readObjectChunk(id, reader, *state.object));
    case kMatEntry:
      state.material = scene.materials.add();
      return true;
    case kMatName:
    case kMatTexmap:
      if (!state.material) return skipChunk(reader, start, id, length, why);
      return cutShort(readMaterialChunk(id, reader, state));
    case kMatMapname:
    case kMatMapUScale:
    case kMatMapVScale:
    case kMatMapUOffset:
    case kMatMapVOffset:
    case kMatMapAng:
      if (!state.textureMap) return skipChunk(reader, start, id, length, why);
      return cutShort(readTextureMapChunk(id, reader, *state.textureMap));
    default:
      return skipChunk(reader, start, id, length, why);
  }
}

}  // namespace

int Scene3ds::readChunks(ByteReader& reader) {
  failure_.clear();
  uint16_t magic;
  if (!reader.readU16(magic) || magic != kMain) {
    failure_ = "not a 3DS file (no M3DMAGIC chunk 0x4D4D)";
    return 0;
  }
  // The main chunk's length is never used: chunks after its end are read all the same.
  if (!reader.skip(4)) {
    failure_ = "the file ends inside the main chunk's header";
    return 1;
  }
  ReadState state;
  while (readChunk(*this, reader, state, failure_)) {
  }
  return 1;
}

std::string readChunkString(ByteReader& reader) {
  const uint8_t* start = reader.current();
  const size_t remaining = reader.remaining();
  const void* nul = remaining ? std::memchr(start, 0, remaining) : nullptr;
  const size_t length = nul ? size_t(static_cast<const uint8_t*>(nul) - start) : remaining;
  reader.skip(int64_t(nul ? length + 1 : length));
  if (length == 0) return {};
  return std::string(reinterpret_cast<const char*>(start), std::min(length, kMaxStringLength));
}

// Walking the materials newest first and letting a later match overwrite an earlier one leaves
// each object with the first material of its name in file order.
void Scene3ds::resolveMaterials() {
  for (auto* m = materials.first(); m; m = m->next) {
    Material3ds* material = m->element;
    if (!material->name) continue;
    for (auto* o = objects.first(); o; o = o->next) {
      Object3ds* object = o->element;
      if (object->materialName && *object->materialName == *material->name) {
        object->material = material;
        object->hasMaterial = 1;
      }
    }
  }
}

void Scene3ds::clear() {
  objects.clear();
  materials.clear();
}

// Scenes are destroyed at program exit, after the context is gone; GL names are only given back
// while one is current.
Object3ds::~Object3ds() {
  if (displayList != 0 && platform::glContextCurrent()) glDeleteLists(displayList, 1);
}

Material3ds::~Material3ds() {
  if (texture != 0 && platform::glContextCurrent()) {
    const GLuint name = texture;
    glDeleteTextures(1, &name);
  }
}
