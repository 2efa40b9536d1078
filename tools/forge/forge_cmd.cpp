#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/commands.h"

// Until the generator lands: a pack with only an empty "skora.tga".
int runForgeCommand(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: demotool forge OUTDIR\n");
    return 1;
  }
  const std::string path = std::string(argv[1]) + "/data.dat";
  std::string mk = "mkdir -p '" + std::string(argv[1]) + "'";
  if (std::system(mk.c_str()) != 0) return 1;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 1;
  const unsigned char entry[] = {'s', 'k', 'o', 'r', 'a', '.', 't', 'g', 'a', 0, 0, 0, 0, 0};
  std::fwrite(entry, 1, sizeof entry, f);
  return std::fclose(f) == 0 ? 0 : 1;
}
