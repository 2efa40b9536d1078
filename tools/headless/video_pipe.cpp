// The ffmpeg child, spawned with its arguments as they are (no shell); SIGPIPE is ignored while it
// runs so that an encoder that dies shows up as a failed write instead of killing the capture.
// ffmpeg writes into the run's private folder; the finished video is copied out with the program's
// own file writing.
#include "tools/headless/video_pipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "tools/headless/frame_pixels.h"

namespace headless {
namespace {

// The last non-empty line ffmpeg wrote, to explain its failure in one line.
std::string lastLine(const std::string& path) {
  std::ifstream in(path);
  std::string line, last;
  while (std::getline(in, line))
    if (line.find_first_not_of(" \t\r") != std::string::npos) last = line;
  return last;
}

// The file's last extension, dot included ("" without one): ffmpeg picks the container by it.
std::string extensionOf(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? std::string()
                                                                                 : path.substr(dot);
}

bool copyFile(const std::string& from, const std::string& to) {
  platform::File in = platform::File::openRead(from.c_str());
  platform::File out = platform::File::create(to.c_str());
  if (!in.isOpen() || !out.isOpen()) return false;
  std::vector<char> piece(1 << 20);
  while (const size_t n = in.read(piece.data(), piece.size()))
    if (!out.write(piece.data(), n)) return false;
  return in.position() == in.size() && out.close();
}

}  // namespace

bool ffmpegAvailable() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    if (access((dir + "/ffmpeg").c_str(), X_OK) == 0) return true;
  }
  return false;
}

VideoPipe::~VideoPipe() {
  std::string ignored;
  close(ignored);
}

bool VideoPipe::open(const std::string& outPath, uint32_t fps, size_t frameCount,
                     const std::string& musicPath, uint32_t musicStartMs,
                     const std::string& privateDir, std::string& error) {
  outPath_ = outPath;
  encodedPath_ = privateDir + "/video" + extensionOf(outPath);
  logPath_ = privateDir + "/ffmpeg.log";
  std::ostringstream seconds, start;
  seconds.precision(6);
  seconds << std::fixed << double(frameCount) / double(fps);
  start.precision(3);
  start << std::fixed << double(musicStartMs) / 1000.0;

  std::vector<std::string> args = {
      "ffmpeg",   "-hide_banner",
      "-nostats", "-loglevel",
      "error",    "-y",
      "-f",       "rawvideo",
      "-pix_fmt", "rgb24",
      "-s",       std::to_string(kFrameWidth) + "x" + std::to_string(kFrameHeight),
      "-r",       std::to_string(fps),
      "-i",       "-"};
  if (!musicPath.empty()) args.insert(args.end(), {"-ss", start.str(), "-i", musicPath});
  args.insert(args.end(), {"-map", "0:v"});
  if (!musicPath.empty()) args.insert(args.end(), {"-map", "1:a", "-c:a", "aac"});
  // The picture sets the length: longer music is cut, shorter music just ends early.
  args.insert(args.end(), {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-t", seconds.str(),
                           "-movflags", "+faststart", encodedPath_});
  if (!spawn(args)) {
    error = "cannot start ffmpeg";
    return false;
  }
  return true;
}

// ffmpeg reads the frames from a pipe on its standard input and writes its messages to the log.
bool VideoPipe::spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath_.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
  const int failed = posix_spawnp(&child_, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[0]);
  if (failed != 0) {
    ::close(ends[1]);
    return false;
  }
  std::signal(SIGPIPE, SIG_IGN);
  pipe_ = fdopen(ends[1], "w");
  return pipe_ != nullptr;
}

bool VideoPipe::write(const std::vector<uint8_t>& rgb) {
  if (!pipe_) return false;
  return std::fwrite(rgb.data(), 1, rgb.size(), pipe_) == rgb.size();
}

bool VideoPipe::close(std::string& error) {
  if (!pipe_) return true;
  std::fclose(pipe_);
  pipe_ = nullptr;
  int status = 0;
  while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
  }
  std::signal(SIGPIPE, SIG_DFL);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const std::string why = lastLine(logPath_);
    error = "ffmpeg failed" + (why.empty() ? std::string() : ": " + why);
    return false;
  }
  if (!copyFile(encodedPath_, outPath_)) {
    error = "cannot write " + outPath_;
    return false;
  }
  return true;
}

}  // namespace headless
