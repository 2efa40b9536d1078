// The readers against their peers on the same files, each reading by file name and freeing what it
// read: the pack's unpack, TGA pictures (ours and stb_image, both to RGB pixels in memory), the
// head with its neighbour lists, and 3DS sets (ours, lib3ds and assimp with no post-processing).
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <lib3ds/file.h>
#include <stb_image.h>

#include <assimp/Importer.hpp>
#include <filesystem>

#include "assets/data_pack.h"
#include "bench_inputs.h"
#include "bench_suites.h"
#include "gfx/byte_reader.h"
#include "gfx/head_mesh.h"
#include "gfx/image_file.h"
#include "model3ds/scene3ds.h"
#include "platform/files.h"
#include "tools/common/temp_folder.h"

namespace {

const char* const kPictures[] = {"back01.tga", "skora.tga", "s_left.tga"};

// Into a fresh empty folder each time, as at start-up: rewriting files that exist would also time
// the file system's handling of their truncation.
void unpack(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TempFolder target;
    std::string error;
    if (!target.create("demo-bench-", error)) state.SkipWithError(error.c_str());
    state.ResumeTiming();
    const UnpackResult result = unpackPack(benchInputs().pack.c_str(), target.path().c_str());
    if (!result.ok) state.SkipWithError(result.error.c_str());
    state.PauseTiming();
    target.remove();
    state.ResumeTiming();
  }
}

// Ours to the same RGB bytes stb_image gives; the rows stay bottom first, as GL takes them.
void tgaOurs(benchmark::State& state, const std::string& name) {
  const std::string path = benchInputs().file(name);
  for (auto _ : state) {
    ImageFile image;
    if (!image.load(path.c_str())) state.SkipWithError("unreadable picture");
    image.swapRedBlue();
    benchmark::DoNotOptimize(image.getPixels());
  }
}

void tgaStb(benchmark::State& state, const std::string& name) {
  const std::string path = benchInputs().file(name);
  for (auto _ : state) {
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &channels, 0);
    if (!pixels) state.SkipWithError("stb_image cannot read it");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}

void headLoad(benchmark::State& state) {
  const std::string path = benchInputs().file("ex_glowa_new.3ds");
  for (auto _ : state) {
    HeadMesh mesh;
    if (!mesh.load(path.c_str())) state.SkipWithError("unreadable head");
    benchmark::DoNotOptimize(mesh.vertices.data());
  }
}

// Our read alone: the file's bytes, the chunk stream, the material links; no GL.
void readOurs(benchmark::State& state, const std::string& name) {
  const std::string path = benchInputs().file(name);
  for (auto _ : state) {
    Scene3ds scene;
    std::vector<uint8_t> bytes;
    platform::readWholeFile(path.c_str(), bytes);
    ByteReader reader(bytes.data(), bytes.size());
    if (!scene.readChunks(reader)) state.SkipWithError("not a 3DS file");
    scene.resolveMaterials();
    benchmark::DoNotOptimize(scene.objects.first());
  }
}

void readLib3ds(benchmark::State& state, const std::string& name) {
  const std::string path = benchInputs().file(name);
  for (auto _ : state) {
    Lib3dsFile* file = lib3ds_file_load(path.c_str());
    if (!file) state.SkipWithError("lib3ds cannot read it");
    benchmark::DoNotOptimize(file);
    if (file) lib3ds_file_free(file);
  }
}

void readAssimp(benchmark::State& state, const std::string& name) {
  const std::string path = benchInputs().file(name);
  for (auto _ : state) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (!scene) state.SkipWithError(importer.GetErrorString());
    benchmark::DoNotOptimize(scene);
  }
}

}  // namespace

void registerLoaderBenchmarks() {
  benchmark::RegisterBenchmark("pack/unpack/data.dat", unpack)->Unit(benchmark::kMillisecond);
  for (const char* picture : kPictures) {
    const std::string name = picture;
    benchmark::RegisterBenchmark(("tga/ours/" + name).c_str(), tgaOurs, name)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("tga/stb_image/" + name).c_str(), tgaStb, name)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("head/load+neighbours/ex_glowa_new.3ds", headLoad)
      ->Unit(benchmark::kMillisecond);
  for (const std::string& set : kSetNames) {
    for (auto [peer, fn] : {std::pair{"ours", readOurs}, std::pair{"lib3ds", readLib3ds},
                            std::pair{"assimp", readAssimp}}) {
      benchmark::RegisterBenchmark(("3ds read/" + std::string(peer) + "/" + set).c_str(), fn, set)
          ->Unit(benchmark::kMillisecond);
    }
  }
}
