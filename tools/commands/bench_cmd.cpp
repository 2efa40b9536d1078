// demotool bench: the real start-up and the whole timeline headless at 800x600, timed. Each run
// is a child process of its own (the presentation's objects live once per process); the parent
// keeps the best of each figure and prints a table or one JSON object.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/commands.h"
#include "tools/common/command_line.h"
#include "tools/frame_timing/bench_report.h"
#include "tools/frame_timing/bench_run.h"
#include "tools/headless/run_options.h"
#include "tools/headless/tool_paths.h"

namespace {

struct BenchOptions {
  std::string pack;
  uint32_t runs = 1;
  uint32_t toMs = bench::kRunEndMs;
  bool json = false;
};

int fail(const std::string& message) {
  return cli::fail("bench", message);
}

cli::CommandLine commandLine(const Command& self, BenchOptions& o) {
  using namespace cli;
  return CommandLine{
      self.name,
      self.summary,
      {},
      "Runs the real start-up and every frame to --to (the end scene starts after 16000 ms)\n"
      "headless at 800x600, each frame finished (glFinish) before it is timed, on a clock that\n"
      "steps 16 and 17 ms alternately (60 Hz).\n"
      "Prints the start-up split (unpack, each step of loadAssets, total to the first frame "
      "without\n"
      "the one-second pause), per scene the frame time median, p99 and worst, and the peak\n"
      "resident memory.\n",
      {headless::packOption(o.pack),
       numberOption("--runs", "N",
                    "runs, each in a fresh process; every figure is the best (lowest) over\n"
                    "the runs",
                    o.runs, 1, 100),
       headless::lastFrameOption(o.toMs),
       flagOption("--json", "one JSON object instead of the table", o.json)}};
}

bool writeAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, size_t(n));
  }
  return text;
}

// In the child: one run, its result or its error as JSON down the pipe, then out without the
// parent's exit handlers.
[[noreturn]] void childRun(const std::string& pack, uint32_t toMs, int fd) {
  bench::BenchResult result;
  std::string error;
  const std::string text = bench::measureRun(pack, toMs, result, error)
                               ? bench::toJson(result).dump()
                               : nlohmann::json{{"error", error}}.dump();
  const bool written = writeAll(fd, text);
  close(fd);
  _exit(written ? 0 : 1);
}

bool runInChild(const std::string& pack, uint32_t toMs, bench::BenchResult& result,
                std::string& error) {
  int fds[2];
  if (pipe(fds) != 0) {
    error = "cannot make a pipe for a run";
    return false;
  }
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    error = "cannot start a run";
    return false;
  }
  if (pid == 0) {
    close(fds[0]);
    childRun(pack, toMs, fds[1]);
  }
  close(fds[1]);
  const std::string text = readAll(fds[0]);
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) {
    error = "a run was ended by signal " + std::to_string(WTERMSIG(status));
    return false;
  }
  const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
  if (j.is_object() && j.contains("error") && j["error"].is_string()) {
    error = j["error"].get<std::string>();
    return false;
  }
  if (j.is_discarded() || !bench::fromJson(j, result, error)) {
    error = "a run gave no result" + (error.empty() ? std::string() : " (" + error + ")");
    return false;
  }
  return true;
}

}  // namespace

int runBenchCommand(const Command& self, int argc, char** argv) {
  BenchOptions o;
  std::vector<std::string> arguments;
  const int status = cli::parse(argc, argv, commandLine(self, o), arguments);
  if (status >= 0) return status;
  std::string error;
  if (o.pack.empty()) o.pack = headless::defaultPackPath();
  o.pack = headless::absolutePath(o.pack);

  std::vector<bench::BenchResult> runs;
  for (uint32_t r = 0; r < o.runs; ++r) {
    bench::BenchResult result;
    if (!runInChild(o.pack, o.toMs, result, error)) return fail(error);
    runs.push_back(result);
  }
  const bench::BenchResult best = bench::keepBest(runs);
  std::string out;
  if (o.json) {
    nlohmann::ordered_json j = bench::toJson(best);
    j["runs"] = o.runs;
    j["kept"] = "best";
    out = j.dump() + "\n";
  } else {
    out = bench::formatTable(best, o.runs);
  }
  if (std::fputs(out.c_str(), stdout) < 0 || std::fflush(stdout) != 0)
    return fail("cannot write to stdout");
  return 0;
}
