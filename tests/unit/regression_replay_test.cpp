// Replays every input in fuzz/regressions/<target>/ through the same reader calls and checks as the
// fuzz target of that name, in the ordinary build: an input that once broke a reader must keep
// being read soundly. Under scripts/sanitize.sh the sanitizers watch these runs too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/exercise_3ds.h"
#include "fuzz/exercise_head.h"
#include "fuzz/exercise_pack.h"
#include "fuzz/exercise_tga.h"
#include "support/chunk_writer.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace {

namespace fs = std::filesystem;

fs::path regressionRoot() {
  const char* source = std::getenv("DEMO_SOURCE_DIR");
  const fs::path root = source && *source
                            ? fs::path(source)
                            : fs::path(__FILE__).parent_path().parent_path().parent_path();
  return root / "fuzz" / "regressions";
}

// The inputs of one target, by name; dot files only keep the folder in git.
std::vector<fs::path> inputsOf(const std::string& target) {
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(regressionRoot() / target))
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
      inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

using Exercise = std::string (*)(const uint8_t*, size_t);

void replay(const std::string& target, Exercise exercise) {
  ASSERT_TRUE(fs::is_directory(regressionRoot() / target)) << regressionRoot() / target;
  for (const fs::path& input : inputsOf(target)) {
    const std::vector<uint8_t> bytes = readFile(input.string());
    EXPECT_EQ(exercise(bytes.data(), bytes.size()), "") << target << ": " << input.filename();
  }
}

TEST(RegressionReplay, EveryFormerFindingIsReadSoundly) {
  replay("fuzz_tga", fuzzcheck::exerciseTga);
  replay("fuzz_head", fuzzcheck::exerciseHead);
  replay("fuzz_3ds", fuzzcheck::exercise3ds);
  replay("fuzz_pack", fuzzcheck::exercisePack);
}

// Sound inputs of every reader pass the checks: a check that failed them would drown the fuzzers'
// findings in noise, and a sandbox that cannot be made would fail every pack input.
TEST(RegressionReplay, SoundInputsPassEveryCheck) {
  const std::vector<uint8_t> picture = tgaBytes(2, 1, {10, 20, 30, 40, 50, 60});
  EXPECT_EQ(fuzzcheck::exerciseTga(picture.data(), picture.size()), "");

  ChunkWriter head;  // three vertices, one face
  head.u16(3).f32(0).f32(0).f32(4).f32(1).f32(0).f32(4).f32(0).f32(1).f32(4);
  for (int i = 0; i < 6; ++i) head.f32(0.5f);
  head.u16(1).u16(0).u16(1).u16(2);
  EXPECT_EQ(fuzzcheck::exerciseHead(head.bytes().data(), head.bytes().size()), "");

  ChunkWriter scene;
  scene.begin(chunk3ds::kMain).begin(chunk3ds::kNamedObject).str("o");
  scene.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).beginFaces({{0, 1, 2, 0}});
  const std::vector<uint8_t> sceneBytes = scene.finish();
  EXPECT_EQ(fuzzcheck::exercise3ds(sceneBytes.data(), sceneBytes.size()), "");

  const std::string packText("a\0\1\0\0\0\7skora.tga\0\0\0\0\0", 21);
  std::vector<uint8_t> pack(packText.begin(), packText.end());
  EXPECT_EQ(fuzzcheck::exercisePack(pack.data(), pack.size()), "");
  pack.resize(pack.size() - 2);  // the size of "skora.tga" is cut: refused, nothing left behind
  EXPECT_EQ(fuzzcheck::exercisePack(pack.data(), pack.size()), "");
}

}  // namespace
