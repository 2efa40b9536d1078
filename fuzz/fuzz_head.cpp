// libFuzzer target for the head-mesh reader with its neighbour build and a few pokes.
// A broken promise aborts, so that libFuzzer keeps the input; the sanitizers catch the rest.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/exercise_head.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = fuzzcheck::exerciseHead(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "fuzz_head: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
