// Replays every input in fuzz/regressions/<target>/ through the same reader calls and checks as the
// fuzz target of that name, in the ordinary build: an input that once broke a reader must keep
// being read soundly, and the seeds kept beside them (a sound file of each kind) must pass every
// check. Under scripts/sanitize.sh the sanitizers watch these runs too.
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
#include "support/temp_dir.h"

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
  // Every folder keeps at least a sound seed that reaches deep into its reader, so that a replay
  // that found nothing to read, or checks that refuse sound input, cannot pass unseen.
  const std::vector<fs::path> inputs = inputsOf(target);
  ASSERT_FALSE(inputs.empty()) << "no input in " << target;
  for (const fs::path& input : inputs) {
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

}  // namespace
