// The 3DS file layout, chunk by chunk. Payloads are written exactly as the format defines them,
// since our reader walks containers as one flat stream and relies on consuming each payload whole.
#include "tools/forge/formats/scene3ds_writer.h"

#include <cmath>

#include "model3ds/chunk_ids.h"
#include "tools/forge/formats/chunk_writer.h"

namespace assetgen {

namespace {

using namespace chunk3ds;

const char* const kCameraName = "Camera01";
const char* const kLightName = "Light01";

// The horizontal field of view (degrees) of a lens on the 36 mm film frame 3DS tools assume.
float cameraFieldOfView(float lensMillimetres) {
  return 2.0f * std::atan(18.0f / lensMillimetres) * 180.0f / kPi;
}

void colourChunk(ChunkWriter& w, uint16_t id, Colour24 c) {
  w.begin(id);
  w.begin(kColor24);
  w.out().u8(c.r);
  w.out().u8(c.g);
  w.out().u8(c.b);
  w.end();
  w.end();
}

void floatChunk(ChunkWriter& w, uint16_t id, float v) {
  w.begin(id);
  w.out().f32(v);
  w.end();
}

void writeMaterial(ChunkWriter& w, const MaterialSpec& m) {
  w.begin(kMatEntry);
  w.begin(kMatName);
  w.out().cstring(m.name);
  w.end();
  colourChunk(w, kMatAmbient, m.ambient);
  colourChunk(w, kMatDiffuse, m.diffuse);
  colourChunk(w, kMatSpecular, m.specular);
  if (!m.mapName.empty()) {
    w.begin(kMatTexmap);
    w.begin(kIntPercentage);
    w.out().u16(100);
    w.end();
    w.begin(kMatMapname);
    w.out().cstring(m.mapName);
    w.end();
    floatChunk(w, kMatMapUScale, m.uScale);
    floatChunk(w, kMatMapVScale, m.vScale);
    floatChunk(w, kMatMapUOffset, m.uOffset);
    floatChunk(w, kMatMapVOffset, m.vOffset);
    w.end();
  }
  w.end();
}

void writeFaces(ChunkWriter& w, const ObjectSpec& o) {
  const Mesh& mesh = o.mesh;
  w.begin(kFaceArray);
  w.out().u16(uint16_t(mesh.triangles.size()));
  for (const Triangle& t : mesh.triangles) {
    w.out().u16(uint16_t(t.a));
    w.out().u16(uint16_t(t.b));
    w.out().u16(uint16_t(t.c));
    w.out().u16(0x0007);  // all three edges visible
  }
  if (!o.material.empty()) {
    w.begin(kMatGroup);
    w.out().cstring(o.material);
    w.out().u16(uint16_t(mesh.triangles.size()));
    for (size_t i = 0; i < mesh.triangles.size(); ++i) w.out().u16(uint16_t(i));
    w.end();
  }
  w.begin(kSmoothGroup);
  for (size_t i = 0; i < mesh.triangles.size(); ++i) w.out().u32(1);
  w.end();
  w.end();
}

void writeObject(ChunkWriter& w, const ObjectSpec& o) {
  const Mesh& mesh = o.mesh;
  w.begin(kNamedObject);
  w.out().cstring(o.name);
  w.begin(kTriObject);
  w.begin(kPointArray);
  w.out().u16(uint16_t(mesh.positions.size()));
  for (const Vec3& p : mesh.positions) w.out().vec3(toFileAxes(p));
  w.end();
  w.begin(kTexVerts);
  w.out().u16(uint16_t(mesh.uvs.size()));
  for (const Uv& uv : mesh.uvs) {
    w.out().f32(uv.u);
    w.out().f32(uv.v);
  }
  w.end();
  w.begin(kMeshMatrix);
  const float identity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  for (float f : identity) w.out().f32(f);
  w.end();
  writeFaces(w, o);
  w.end();
  w.end();
}

void writeLightAndCamera(ChunkWriter& w, const SceneSpec& s) {
  w.begin(kNamedObject);
  w.out().cstring(kLightName);
  w.begin(kDirectLight);
  w.out().vec3(toFileAxes(s.lightPosition));
  w.begin(kColorF);
  for (int i = 0; i < 3; ++i) w.out().f32(1.0f);
  w.end();
  w.end();
  w.end();
  w.begin(kNamedObject);
  w.out().cstring(kCameraName);
  w.begin(kCamera);
  w.out().vec3(toFileAxes(s.cameraPosition));
  w.out().vec3(toFileAxes(s.cameraTarget));
  w.out().f32(0.0f);  // bank
  w.out().f32(s.cameraLens);
  w.end();
  w.end();
}

// One key at frame 0; `values` floats follow the key header (frame, flags without TCB data).
void track(ChunkWriter& w, uint16_t id, const std::vector<float>& values) {
  w.begin(id);
  w.out().u16(0);  // flags
  w.out().u32(0);
  w.out().u32(0);
  w.out().u32(1);  // keys
  w.out().u32(0);  // frame
  w.out().u16(0);  // no tension, continuity, bias or ease values
  for (float v : values) w.out().f32(v);
  w.end();
}

// The node chunks' common head: its id (its place in the hierarchy) and its name, which ties it to
// the object, camera or light of that name; every node here sits at the top of the hierarchy.
void nodeHeader(ChunkWriter& w, uint16_t nodeId, const std::string& name) {
  w.begin(kNodeId);
  w.out().u16(nodeId);
  w.end();
  w.begin(kNodeHdr);
  w.out().cstring(name);
  w.out().u16(0);  // flags
  w.out().u16(0);
  w.out().u16(0xFFFF);  // no parent
  w.end();
}

// The keyframer: one node per mesh object, the camera and its target, and the light, each posed
// where the mesh data puts it, so that readers that build their scene graph from the nodes find
// every object there. The meshes' vertices are already in place (identity mesh matrices), so the
// object nodes carry no movement.
void writeKeyframer(ChunkWriter& w, const SceneSpec& s) {
  w.begin(kKfData);
  w.begin(kKfHdr);
  w.out().u16(5);
  w.out().cstring("MAXSCENE");
  w.out().u32(100);
  w.end();
  w.begin(kKfSeg);
  w.out().u32(0);
  w.out().u32(100);
  w.end();
  w.begin(kKfCurTime);
  w.out().u32(0);
  w.end();
  uint16_t nodeId = 0;
  for (const ObjectSpec& o : s.objects) {
    w.begin(kObjectNodeTag);
    nodeHeader(w, nodeId++, o.name);
    w.begin(kPivot);
    w.out().vec3(Vec3(0, 0, 0));
    w.end();
    track(w, kPosTrack, {0, 0, 0});
    track(w, kRotTrack, {0, 0, 0, 1});
    track(w, kSclTrack, {1, 1, 1});
    w.end();
  }
  const Vec3 eye = toFileAxes(s.cameraPosition), target = toFileAxes(s.cameraTarget);
  const Vec3 light = toFileAxes(s.lightPosition);
  w.begin(kCameraNodeTag);
  nodeHeader(w, nodeId++, kCameraName);
  track(w, kPosTrack, {eye.x, eye.y, eye.z});
  track(w, kFovTrack, {cameraFieldOfView(s.cameraLens)});
  track(w, kRollTrack, {0});
  w.end();
  w.begin(kTargetNodeTag);
  nodeHeader(w, nodeId++, kCameraName);
  track(w, kPosTrack, {target.x, target.y, target.z});
  w.end();
  w.begin(kLightNodeTag);
  nodeHeader(w, nodeId++, kLightName);
  track(w, kPosTrack, {light.x, light.y, light.z});
  track(w, kColTrack, {1, 1, 1});
  w.end();
  w.end();
}

bool validate(const SceneSpec& scene, std::string& error) {
  for (const ObjectSpec& o : scene.objects) {
    if (o.mesh.positions.size() > 0xFFFF || o.mesh.triangles.size() > 0xFFFF) {
      error = "object " + o.name + " has more than 65535 vertices or faces";
      return false;
    }
    for (const Triangle& t : o.mesh.triangles) {
      const size_t n = o.mesh.positions.size();
      if (t.a >= n || t.b >= n || t.c >= n) {
        error = "object " + o.name + " has a face naming a missing vertex";
        return false;
      }
    }
    bool known = o.material.empty();
    for (const MaterialSpec& m : scene.materials) known = known || m.name == o.material;
    if (!known) {
      error = "object " + o.name + " names the unknown material " + o.material;
      return false;
    }
  }
  return true;
}

}  // namespace

Vec3 toFileAxes(Vec3 loaded) {
  return Vec3(loaded.x, -loaded.z, loaded.y);
}

size_t triangleCount(const SceneSpec& scene) {
  size_t n = 0;
  for (const ObjectSpec& o : scene.objects) n += o.mesh.triangles.size();
  return n;
}

std::vector<uint8_t> encodeScene3ds(const SceneSpec& scene, std::string& error) {
  if (!validate(scene, error)) return {};
  ChunkWriter w;
  w.begin(kMain);
  w.begin(kM3dVersion);
  w.out().u32(3);
  w.end();
  w.begin(kMdata);
  w.begin(kMeshVersion);
  w.out().u32(3);
  w.end();
  floatChunk(w, kMasterScale, 1.0f);
  for (const MaterialSpec& m : scene.materials) writeMaterial(w, m);
  for (const ObjectSpec& o : scene.objects) writeObject(w, o);
  writeLightAndCamera(w, scene);
  w.end();
  writeKeyframer(w, scene);
  w.end();
  return w.take();
}

}  // namespace assetgen
