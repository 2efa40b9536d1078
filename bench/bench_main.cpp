// The benchmark binary's entry: --data FILE names the pack (default: the build's run/data.dat);
// every other argument goes to Google Benchmark.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "bench_suites.h"
#include "gfx/gl.h"

int main(int argc, char** argv) {
  std::string pack = DEMO_DEFAULT_PACK;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--data") && i + 1 < argc)
      pack = argv[++i];
    else
      rest.push_back(argv[i]);
  }
  int restCount = int(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 1;
  std::string error;
  if (!prepareBenchInputs(pack, error)) {
    std::fprintf(stderr, "demo_bench: %s\n", error.c_str());
    releaseBenchInputs();
    return 1;
  }
  // The renderer and Mesa's version go into the report beside the machine.
  if (benchInputs().gl) {
    const auto text = [](GLenum name) {
      const GLubyte* s = glGetString(name);
      return s ? std::string(reinterpret_cast<const char*>(s)) : std::string("?");
    };
    benchmark::AddCustomContext("gl_renderer", text(GL_RENDERER));
    benchmark::AddCustomContext("gl_version", text(GL_VERSION));
  }
  registerLoaderBenchmarks();
  registerPrepareBenchmarks();
  registerPokeBenchmarks();
  registerParticleBenchmarks();
  registerFrameBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  releaseBenchInputs();
  return 0;
}
