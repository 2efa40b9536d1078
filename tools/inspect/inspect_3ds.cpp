// `demotool inspect 3ds FILE`: reads a 3DS scene with the presentation's own reader (no GL) and
// prints its objects and materials, in list order, as one line of JSON.
#include "tools/inspect/inspect_3ds.h"

#include <cstdio>
#include <exception>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model3ds/scene3ds.h"
#include "platform/files.h"

namespace {

// Keys keep their insertion order, and numbers are single-precision so that every value prints as
// the shortest text that reads back to the same 32-bit float.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, int64_t,
                                  uint64_t, float>;

Json optionalString(const std::optional<std::string>& s) {
  return s ? Json(*s) : Json(nullptr);
}

Json objectJson(const Object3ds& o) {
  Json positions = Json::array();
  Json texCoords = o.hasTexCoords ? Json::array() : Json(nullptr);
  for (const Vertex3ds& v : o.vertices) {
    positions.push_back(Json::array({v.position.x, v.position.y, v.position.z}));
    if (o.hasTexCoords) texCoords.push_back(Json::array({v.texCoord.u, v.texCoord.v}));
  }
  Json faces = Json::array();
  for (const Face3ds& f : o.faces) faces.push_back(Json::array({f.a, f.b, f.c, f.flags}));
  Json j = Json::object();
  j["name"] = o.name;
  j["materialName"] = optionalString(o.materialName);
  j["material"] = o.material ? optionalString(o.material->name) : Json(nullptr);
  j["vertexCount"] = o.vertexCount;
  j["faceCount"] = o.faceCount;
  j["hasTexCoords"] = o.hasTexCoords != 0;
  j["positions"] = std::move(positions);
  j["texCoords"] = std::move(texCoords);
  j["faces"] = std::move(faces);
  return j;
}

Json materialJson(const Material3ds& m) {
  Json j = Json::object();
  j["name"] = optionalString(m.name);
  if (!m.textureMap) {
    j["textureMap"] = nullptr;
    return j;
  }
  const TextureMap3ds& map = *m.textureMap;
  Json t = Json::object();
  t["fileName"] = map.fileName;
  t["uScale"] = map.uScale;
  t["vScale"] = map.vScale;
  t["uOffset"] = map.uOffset;
  t["vOffset"] = map.vOffset;
  t["angle"] = map.angle;
  j["textureMap"] = std::move(t);
  return j;
}

int inspect(const char* path) {
  std::vector<uint8_t> bytes;
  if (!platform::readWholeFile(path, bytes)) {
    std::fprintf(stderr, "demotool inspect 3ds: cannot read '%s'\n", path);
    return 1;
  }
  Scene3ds scene;
  ByteReader reader(bytes.data(), bytes.size());
  if (!scene.readChunks(reader)) {
    std::fprintf(stderr, "demotool inspect 3ds: '%s': %s\n", path, scene.failure().c_str());
    return 1;
  }
  // What was read before the stop is a scene all the same, as the presentation would show it.
  if (!scene.failure().empty())
    std::fprintf(stderr, "demotool inspect 3ds: '%s' read in part: %s\n", path,
                 scene.failure().c_str());
  scene.resolveMaterials();
  Json out = Json::object();
  out["objects"] = Json::array();
  out["materials"] = Json::array();
  for (auto* n = scene.objects.first(); n; n = n->next)
    out["objects"].push_back(objectJson(*n->element));
  for (auto* n = scene.materials.first(); n; n = n->next)
    out["materials"].push_back(materialJson(*n->element));
  // Names are raw bytes from the file; bytes that are not UTF-8 print as U+FFFD.
  const std::string text = out.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int inspect3ds(const char* path) {
  if (!path) {
    std::fprintf(stderr, "demotool inspect 3ds: no file given\n");
    return 1;
  }
  try {
    return inspect(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "demotool inspect 3ds: %s: %s\n", path, e.what());
    return 1;
  }
}
