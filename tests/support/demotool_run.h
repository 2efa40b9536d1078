// Running the demotool binary (path in $DEMOTOOL) from a test, headless, with its exit status and
// both output streams captured; and the asset pack it forges, made once per test process.
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

// A pack made by `demotool forge`, kept beside the demotool binary and made again whenever the
// binary is newer, so that the test processes of one build forge once. While forge cannot make a
// pack, a minimal one (an empty "skora.tga") stands in: the loaders skip what is missing. Empty
// when neither can be written.
const std::string& forgedPack();

// A refused run: status 1, nothing on stdout and one line on stderr that names `names`.
void expectOneLineFailure(const ToolRun& run, const std::string& names);

// Lines of a text, without their line ends.
std::vector<std::string> splitLines(const std::string& text);
