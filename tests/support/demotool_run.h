// Running the demotool binary (path in $DEMOTOOL) from a test, headless, with its exit status and
// both output streams captured; and the asset pack the build forged with it.
#pragma once

#include <string>
#include <vector>

struct ToolRun {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs `$DEMOTOOL args...` with SDL_VIDEODRIVER=offscreen and SDL_AUDIODRIVER=dummy added to its
// environment. `extraEnv` entries ("NAME=value") are added after them.
ToolRun runDemotool(const std::vector<std::string>& args,
                    const std::vector<std::string>& extraEnv = {});

// The pack the build forged (run/data.dat beside $DEMOTOOL), shared by every test that reads a
// whole pack, so that a test run forges no pack of its own. Empty when it is not there.
const std::string& forgedPack();

// A refused run: status 1, nothing on stdout and one line on stderr that names `names`.
void expectOneLineFailure(const ToolRun& run, const std::string& names);

// Lines of a text, without their line ends.
std::vector<std::string> splitLines(const std::string& text);
