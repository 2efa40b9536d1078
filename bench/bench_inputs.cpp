// The shared inputs: the unpacked pack, the synthetic 60,000-vertex 3DS set and the GL context.
#include "bench_inputs.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "assets/data_pack.h"
#include "support/gl_context.h"
#include "tools/common/temp_folder.h"
#include "tools/forge/formats/scene3ds_writer.h"

const std::vector<std::string> kSetNames = {"c00.3ds", "c01.3ds", "c02.3ds", "c05.3ds",
                                            "large60k.3ds"};
const char* const kLargeSetName = "large60k.3ds";

namespace {

BenchInputs inputs;
std::unique_ptr<GlTestContext> context;
TempFolder scratch;

// A gently waved grid, so that normals and texture coordinates are not all alike.
assetgen::Mesh waveGrid(int columns, int rows, float zOffset) {
  assetgen::Mesh mesh;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const float x = float(c) * 0.1f, z = float(r) * 0.1f + zOffset;
      const float y = 0.3f * std::sin(x * 1.7f) * std::cos(z * 1.3f);
      mesh.addVertex(Vec3(x, y, z), {float(c) / float(columns), float(r) / float(rows)});
    }
  for (int r = 0; r + 1 < rows; ++r)
    for (int c = 0; c + 1 < columns; ++c) {
      const uint32_t i = uint32_t(r * columns + c);
      mesh.addTriangle(i, i + uint32_t(columns), i + 1);
      mesh.addTriangle(i + 1, i + uint32_t(columns), i + uint32_t(columns) + 1);
    }
  return mesh;
}

bool writeLargeSet(const std::string& path, std::string& error) {
  assetgen::SceneSpec scene;
  assetgen::MaterialSpec material;
  material.name = "grid";
  material.mapName = "s_p.tga";  // a picture of the pack, so preparation uploads a real texture
  scene.materials.push_back(material);
  // 4 x 122 x 123 = 60,024 vertices and 118,096 faces, each object under the 16-bit limits.
  for (int i = 0; i < 4; ++i)
    scene.objects.push_back({"grid" + std::to_string(i), "grid", waveGrid(122, 123, 13.0f * i)});
  const std::vector<uint8_t> bytes = assetgen::encodeScene3ds(scene, error);
  if (bytes.empty()) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) error = "cannot write " + path;
  return bool(out);
}

}  // namespace

bool prepareBenchInputs(const std::string& packPath, std::string& error) {
  std::error_code ec;
  inputs.pack = std::filesystem::absolute(packPath, ec).string();
  if (!scratch.create("demo-bench-", error)) return false;
  inputs.dir = scratch.path();
  const UnpackResult unpacked = unpackPack(inputs.pack.c_str(), inputs.dir.c_str());
  if (!unpacked.ok) {
    error = "cannot unpack " + inputs.pack + ": " + unpacked.error;
    return false;
  }
  if (!writeLargeSet(inputs.file(kLargeSetName), error)) return false;
  if (!scratch.enter(error)) return false;
  context = std::make_unique<GlTestContext>();
  inputs.gl = context->ok();
  return true;
}

void releaseBenchInputs() {
  context.reset();
  scratch.remove();
}

const BenchInputs& benchInputs() {
  return inputs;
}
