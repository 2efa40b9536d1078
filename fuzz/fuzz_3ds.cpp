// libFuzzer target for the 3DS chunk reader with material resolution, texture maps and normals.
// A broken promise aborts, so that libFuzzer keeps the input; the sanitizers catch the rest.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/exercise_3ds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = fuzzcheck::exercise3ds(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "fuzz_3ds: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
