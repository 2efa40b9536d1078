// demotool: the makers' and viewers' tools around the presentation, one command with sub-commands.
#include <cstdio>
#include <cstring>

#include "tools/commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* summary;
};

const Command kCommands[] = {
    {"pack", runPackCommand, "list, extract or create an asset pack (data.dat)"},
    {"inspect", runInspectCommand, "print a TGA picture, head mesh or 3DS scene as JSON"},
    {"forge", runForgeCommand, "generate every asset and data.dat from source"},
    {"capture", runCaptureCommand, "render the presentation headless to PNG frames or a video"},
    {"trace", runTraceCommand, "run the presentation headless and print one JSON line per frame"},
    {"bench", runBenchCommand, "time start-up and every scene headless"},
};

void printUsage(FILE* out) {
  std::fprintf(out, "usage: demotool COMMAND [ARGS...]\n\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
  std::fprintf(out, "\n'demotool COMMAND --help' describes each command.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    printUsage(stderr);
    return 1;
  }
  if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
      !std::strcmp(argv[1], "help")) {
    printUsage(stdout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (!std::strcmp(argv[1], c.name)) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "demotool: unknown command '%s' (try 'demotool --help')\n", argv[1]);
  return 1;
}
