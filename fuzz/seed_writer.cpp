// fuzz_seeds DIR: writes small seed inputs for every fuzz target into DIR/<target>/, made with the
// tests' chunk and TGA writers and the pack writer: well-formed files of each kind and the broken
// shapes the readers must refuse. make_seeds.sh adds the real assets of `demotool forge`.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/pack_writer.h"  // PackEntry
#include "gfx/little_endian.h"
#include "support/chunk_writer.h"
#include "support/tga_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

bool put(const fs::path& dir, const std::string& name, const Bytes& bytes) {
  std::FILE* f = std::fopen((dir / name).c_str(), "wb");
  if (!f) return false;
  const bool wrote = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && wrote;
}

void append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

std::vector<std::pair<std::string, Bytes>> tgaSeeds() {
  Bytes withId = tgaBytes(2, 2, solidPixels(2, 2, {1, 2, 3}));
  withId[0] = 5;
  Bytes rle = tgaBytes(2, 2, solidPixels(2, 2, {1, 2, 3}));
  rle[2] = 10;
  Bytes cut = tgaBytes(4, 4, solidPixels(4, 4, {9, 8, 7}));
  cut.resize(cut.size() - 5);
  const Bytes header = tgaBytes(1, 1, {1, 2, 3});
  return {{"two_by_one", tgaBytes(2, 1, {10, 20, 30, 40, 50, 60})},
          {"odd_rows", tgaBytes(3, 2, solidPixels(3, 2, {200, 100, 50}))},
          {"sixteen", tgaBytes(16, 16, solidPixels(16, 16, {0, 128, 255}))},
          {"zero_width", tgaBytes(0, 7, {})},
          {"depth16", tgaBytes(2, 2, Bytes(8, 1), 16)},
          {"depth32", tgaBytes(2, 2, Bytes(16, 1), 32)},
          {"image_id", withId},
          {"rle", rle},
          {"short_pixels", cut},
          {"header_only", Bytes(header.begin(), header.begin() + 18)}};
}

// A bent grid of side n: a small sphere-like patch with many shared edges.
Bytes headGrid(int n) {
  std::vector<Point3> points;
  std::vector<std::array<uint16_t, 3>> faces;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      points.push_back({float(x) - n / 2.0f, float(y) - n / 2.0f, 4.0f - 0.05f * float(x * y)});
  for (int y = 0; y + 1 < n; ++y)
    for (int x = 0; x + 1 < n; ++x) {
      const uint16_t i = uint16_t(y * n + x);
      faces.push_back({i, uint16_t(i + 1), uint16_t(i + n)});
      faces.push_back({uint16_t(i + 1), uint16_t(i + n + 1), uint16_t(i + n)});
    }
  return headFileBytes(points, faces);
}

std::vector<std::pair<std::string, Bytes>> headSeeds() {
  const std::vector<Point3> four = {{0, 0, 4}, {1, 0, 4}, {0, 1, 4}, {1, 1, 4}};
  Bytes cut = headFileBytes(four, {{0, 1, 2}, {2, 1, 3}});
  cut.resize(cut.size() - 3);
  return {{"one_face", headFileBytes({{0, 0, 4}, {1, 0, 4}, {0, 1, 4}}, {{0, 1, 2}})},
          {"two_faces", headFileBytes(four, {{0, 1, 2}, {2, 1, 3}})},
          {"degenerate", headFileBytes(four, {{0, 0, 1}})},
          {"lonely_vertex", headFileBytes(four, {{0, 1, 2}})},
          {"same_place", headFileBytes({{1, 1, 1}, {1, 1, 1}, {0, 2, 0}}, {{0, 1, 2}})},
          {"empty", headFileBytes({}, {})},
          {"index_past_end", headFileBytes(four, {{0, 1, 4}})},
          {"cut_face", cut},
          {"grid12", headGrid(12)}};
}

Bytes sceneBytes(bool withMaterial, bool withLight) {
  using namespace chunk3ds;
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  if (withMaterial) {
    w.begin(kMatEntry).stringChunk(kMatName, "stone");
    w.begin(kMatDiffuse).u32(0x00FFFFFF).end();
    w.begin(kMatTexmap).stringChunk(kMatMapname, "skora.tga");
    w.floatChunk(kMatMapUScale, 2.0f).floatChunk(kMatMapVScale, 4.0f);
    w.floatChunk(kMatMapUOffset, 0.25f).floatChunk(kMatMapVOffset, 0.0f);
    w.floatChunk(kMatMapAng, 30.0f).end();
    w.begin(kMatBumpmap).stringChunk(kMatMapname, "bump.tga").end();
    w.end();
  }
  w.begin(kNamedObject).str("quad").begin(kTriObject);
  w.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
  w.texVerts({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
  w.begin(kMeshMatrix).raw(Bytes(48, 0)).end();
  w.beginFaces({{0, 1, 2, 7}, {2, 1, 3, 7}}).matGroup("stone", {0, 1}).end();
  w.end().end();
  if (withLight)
    w.begin(kNamedObject).str("lamp").begin(kDirectLight).f32(1).f32(2).f32(3).end().end();
  return w.finish();
}

std::vector<std::pair<std::string, Bytes>> sceneSeeds() {
  using namespace chunk3ds;
  Bytes cut = sceneBytes(true, false);
  cut.resize(cut.size() / 2);
  ChunkWriter zeroLength, shortLength, early, twice, bigCounts;
  zeroLength.begin(kMain).header(0x1234, 0).u32(0);
  shortLength.begin(kMain).header(0x1234, 5).points({{1, 2, 3}});
  early.begin(kMain).points({{1, 2, 3}}).floatChunk(kMatMapUScale, 3.0f).stringChunk(kMatName, "x");
  twice.begin(kMain).begin(kMatEntry).stringChunk(kMatName, "m").end();
  twice.begin(kMatEntry).stringChunk(kMatName, "m").begin(kMatTexmap).end().end();
  twice.begin(kNamedObject)
      .str("o")
      .points({{0, 0, 0}})
      .beginFaces({{0, 0, 0, 0}})
      .matGroup("m", {0});
  bigCounts.begin(kMain).begin(kNamedObject).str(std::string(150, 'n'));
  bigCounts.header(kPointArray, 6).u16(0xFFFF).f32(1).header(kFaceArray, 6).u16(0xFFFF);
  bigCounts.header(kTexVerts, 6).u16(9).f32(0.5f);
  return {{"scene", sceneBytes(true, true)},
          {"no_material", sceneBytes(false, false)},
          {"cut_half", cut},
          {"zero_length", zeroLength.finish()},
          {"short_length", shortLength.finish()},
          {"before_records", early.finish()},
          {"material_twice", twice.finish()},
          {"big_counts", bigCounts.finish()},
          {"not_3ds", Bytes{0x4D, 0x4C, 1, 2, 3}}};
}

Bytes packBytes(const std::vector<PackEntry>& entries) {
  Bytes out;
  for (const PackEntry& e : entries) {
    out.insert(out.end(), e.name.begin(), e.name.end());
    out.push_back(0);
    uint8_t size[4];
    storeU32Le(size, uint32_t(e.content.size()));
    append(out, {size[0], size[1], size[2], size[3]});
    append(out, e.content);
  }
  return out;
}

std::vector<std::pair<std::string, Bytes>> packSeeds() {
  const Bytes picture = tgaBytes(2, 1, {10, 20, 30, 40, 50, 60});
  Bytes trailing = packBytes({{"a.txt", {1, 2}}, {"skora.tga", picture}});
  append(trailing, packBytes({{"after.txt", {9}}}));
  Bytes hugeSize = packBytes({{"big.bin", {1, 2, 3}}});
  hugeSize[8] = 0xFF;
  hugeSize[9] = 0xFF;
  Bytes longName(150, 'x');
  append(longName, {0, 1, 0, 0, 0, 7});
  return {{"only_skora", packBytes({{"skora.tga", picture}})},
          {"three",
           packBytes(
               {{"c00.3ds", sceneBytes(true, false)}, {"empty.bin", {}}, {"skora.tga", picture}})},
          {"trailing", trailing},
          {"no_skora", packBytes({{"a.bin", {1}}, {"b.bin", {2}}})},
          {"same_twice", packBytes({{"a.bin", {1}}, {"a.bin", {2, 3}}, {"skora.tga", {}}})},
          {"letter_case", packBytes({{"A.bin", {1}}, {"a.BIN", {2}}, {"skora.tga", {}}})},
          {"climb", packBytes({{"../up.txt", {1}}, {"skora.tga", {}}})},
          {"absolute", packBytes({{"/tmp/abs.txt", {1}}, {"skora.tga", {}}})},
          {"dots", packBytes({{"..", {1}}, {"skora.tga", {}}})},
          {"huge_size", hugeSize},
          {"long_name", longName},
          {"name_cut", Bytes{'a', 'b', 'c'}}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 1;
  }
  const fs::path root = argv[1];
  const std::pair<const char*, std::vector<std::pair<std::string, Bytes>>> sets[] = {
      {"fuzz_tga", tgaSeeds()},
      {"fuzz_head", headSeeds()},
      {"fuzz_3ds", sceneSeeds()},
      {"fuzz_pack", packSeeds()}};
  for (const auto& [target, seeds] : sets) {
    std::error_code ec;
    fs::create_directories(root / target, ec);
    for (const auto& [name, bytes] : seeds) {
      if (!put(root / target, name, bytes)) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s/%s\n", target, name.c_str());
        return 1;
      }
    }
  }
  return 0;
}
