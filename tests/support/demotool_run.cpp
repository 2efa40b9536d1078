// fork and exec of demotool with its output in temporary files, read back after it exits.
#include "support/demotool_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
  const std::vector<uint8_t> bytes = readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

ToolRun runDemotool(const std::vector<std::string>& args,
                    const std::vector<std::string>& extraEnv) {
  ToolRun run;
  const char* tool = std::getenv("DEMOTOOL");
  if (!tool || !*tool) {
    run.err = "DEMOTOOL is not set";
    return run;
  }
  TempDir io;
  const std::string outPath = io.file("stdout"), errPath = io.file("stderr");
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) _exit(127);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (const std::string& e : extraEnv) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(tool, argv.data());
    _exit(127);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
    run.status = WEXITSTATUS(status);
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

const std::string& forgedPack() {
  static const std::string pack = [] {
    const char* tool = std::getenv("DEMOTOOL");
    if (!tool || !*tool) return std::string();
    const fs::path built = fs::path(tool).parent_path() / "run" / "data.dat";
    std::error_code ec;
    return fs::is_regular_file(built, ec) ? built.string() : std::string();
  }();
  return pack;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void expectOneLineFailure(const ToolRun& run, const std::string& names) {
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(splitLines(run.err).size(), 1u) << run.err;
  EXPECT_NE(run.err.find(names), std::string::npos) << run.err;
}
