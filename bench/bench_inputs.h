// What every benchmark reads: the forged pack unpacked once, through the program's own unpacker,
// into a private folder; a large synthetic 3DS set written beside the loose files; and one
// headless GL context for the benchmarks that upload or draw.
#pragma once

#include <string>
#include <vector>

struct BenchInputs {
  std::string pack;  // absolute path of data.dat
  std::string dir;   // the loose files, and the working directory while benchmarks run
  bool gl = false;   // a GL context is current
  std::string file(const std::string& name) const { return dir + "/" + name; }
};

// The four generated sets and the synthetic one, as the 3DS benchmarks take them.
extern const std::vector<std::string> kSetNames;
// About 60,000 vertices in four objects: the largest set the 16-bit counts allow in few objects.
extern const char* const kLargeSetName;

// False with `error` when the pack cannot be unpacked or the synthetic set cannot be written.
// A missing GL context is not an error: the GL benchmarks then report it and skip.
bool prepareBenchInputs(const std::string& packPath, std::string& error);
void releaseBenchInputs();
const BenchInputs& benchInputs();
