// 3DS preparation: the vertex normals alone (ours beside lib3ds's, on the same file read once),
// our preparation with GL (texture maps, normals, one display list per object; the material
// pictures excluded, they are TGA reads and uploads) and our whole Scene3ds::load. Each reports
// its face count so that the time per face of the small sets and the large one can be compared.
#include <benchmark/benchmark.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <vector>

#include "bench_inputs.h"
#include "bench_suites.h"
#include "gfx/byte_reader.h"
#include "gfx/gl.h"
#include "model3ds/scene3ds.h"
#include "platform/files.h"

namespace {

void readScene(const std::string& name, Scene3ds& scene) {
  std::vector<uint8_t> bytes;
  platform::readWholeFile(benchInputs().file(name).c_str(), bytes);
  ByteReader reader(bytes.data(), bytes.size());
  scene.readChunks(reader);
  scene.resolveMaterials();
}

void normalsOurs(benchmark::State& state, const std::string& name) {
  Scene3ds scene;
  readScene(name, scene);
  for (auto _ : state)
    for (auto* node = scene.objects.first(); node; node = node->next)
      node->element->computeNormals();
  state.counters["faces"] = double(setFaceCount(name));
}

void normalsLib3ds(benchmark::State& state, const std::string& name) {
  Lib3dsFile* file = lib3ds_file_load(benchInputs().file(name).c_str());
  if (!file) {
    state.SkipWithError("lib3ds cannot read it");
    return;
  }
  std::vector<std::vector<Lib3dsVector>> normals;
  for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next)
    normals.emplace_back(size_t(mesh->faces) * 3);
  for (auto _ : state) {
    size_t i = 0;
    for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next)
      lib3ds_mesh_calculate_normals(mesh, normals[i++].data());
  }
  lib3ds_file_free(file);
  state.counters["faces"] = double(setFaceCount(name));
}

// A fresh read for every pass (not timed), since the texture map is applied in place.
void prepareOurs(benchmark::State& state, const std::string& name) {
  if (!benchInputs().gl) {
    state.SkipWithError("no headless GL context");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    Scene3ds scene;
    readScene(name, scene);
    state.ResumeTiming();
    for (auto* node = scene.objects.first(); node; node = node->next) {
      Object3ds& object = *node->element;
      object.applyTextureMap();
      object.computeNormals();
      object.buildDisplayList();
    }
    glFinish();
    state.PauseTiming();
    scene.clear();
    state.ResumeTiming();
  }
  state.counters["faces"] = double(setFaceCount(name));
}

void loadOurs(benchmark::State& state, const std::string& name) {
  if (!benchInputs().gl) {
    state.SkipWithError("no headless GL context");
    return;
  }
  const std::string path = benchInputs().file(name);
  for (auto _ : state) {
    Scene3ds scene;
    scene.load(path.c_str(), 1);
    glFinish();
    state.PauseTiming();
    scene.clear();
    state.ResumeTiming();
  }
  state.counters["faces"] = double(setFaceCount(name));
}

}  // namespace

size_t setFaceCount(const std::string& setName) {
  Scene3ds scene;
  readScene(setName, scene);
  size_t faces = 0;
  for (auto* node = scene.objects.first(); node; node = node->next)
    faces += node->element->faceCount;
  return faces;
}

void registerPrepareBenchmarks() {
  for (const std::string& set : kSetNames) {
    benchmark::RegisterBenchmark(("3ds normals/ours/" + set).c_str(), normalsOurs, set)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("3ds normals/lib3ds/" + set).c_str(), normalsLib3ds, set)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("3ds prepare/ours/" + set).c_str(), prepareOurs, set)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("3ds load/ours/" + set).c_str(), loadOurs, set)
        ->Unit(benchmark::kMillisecond);
  }
}
