// The sub-commands of demotool, in one table. Each returns the process exit status: 0 on success,
// 1 with one line on stderr otherwise. argv[0] is the sub-command's own name.
#pragma once

#include <vector>

struct Command {
  const char* name;
  const char* summary;  // its line in 'demotool --help', which also opens its own --help
  int (*run)(const Command& self, int argc, char** argv);
};

const std::vector<Command>& commands();

int runPackCommand(const Command& self, int argc, char** argv);
int runInspectCommand(const Command& self, int argc, char** argv);
int runForgeCommand(const Command& self, int argc, char** argv);
int runCaptureCommand(const Command& self, int argc, char** argv);
int runTraceCommand(const Command& self, int argc, char** argv);
int runBenchCommand(const Command& self, int argc, char** argv);
