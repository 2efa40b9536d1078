// demotool: the makers' and viewers' tools around the presentation, one command with sub-commands.
#include <cstdio>
#include <cstring>

#include "tools/commands.h"

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"pack", "list, extract or create an asset pack (data.dat)", runPackCommand},
      {"inspect", "print a TGA picture, head mesh or 3DS scene as JSON", runInspectCommand},
      {"forge", "generate every asset and data.dat from source", runForgeCommand},
      {"capture", "render the presentation headless to PNG frames or a video", runCaptureCommand},
      {"trace", "run the presentation headless and print one JSON line per frame", runTraceCommand},
      {"bench", "time start-up and every scene headless", runBenchCommand},
  };
  return table;
}

namespace {

void printUsage(FILE* out) {
  std::fprintf(out, "usage: demotool COMMAND [ARGS...]\n\ncommands:\n");
  for (const Command& c : commands()) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
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
  for (const Command& c : commands()) {
    if (!std::strcmp(argv[1], c.name)) return c.run(c, argc - 1, argv + 1);
  }
  std::fprintf(stderr, "demotool: unknown command '%s' (try 'demotool --help')\n", argv[1]);
  return 1;
}
