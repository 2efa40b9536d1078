// libFuzzer target for the TGA reader (ImageFile::parse, swapRedBlue, release).
// A broken promise aborts, so that libFuzzer keeps the input; the sanitizers catch the rest.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/exercise_tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = fuzzcheck::exerciseTga(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "fuzz_tga: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
