// libFuzzer target for the pack unpacker in a private folder, checking that nothing lands outside
// it. A broken promise aborts, so that libFuzzer keeps the input; the sanitizers catch the rest.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/exercise_pack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = fuzzcheck::exercisePack(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "fuzz_pack: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
