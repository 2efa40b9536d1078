// The sub-commands of demotool. Each returns the process exit status: 0 on success, 1 with one line
// on stderr otherwise. argv[0] is the sub-command's own name.
#pragma once

int runPackCommand(int argc, char** argv);
int runInspectCommand(int argc, char** argv);
int runForgeCommand(int argc, char** argv);
int runCaptureCommand(int argc, char** argv);
int runTraceCommand(int argc, char** argv);
int runBenchCommand(int argc, char** argv);
