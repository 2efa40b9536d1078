// Raw RGB frames piped into ffmpeg, encoded as H.264 in MP4 with the music muxed in from time zero
// of the captured range, the video's own length kept.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace headless {

// True when an executable "ffmpeg" is on PATH.
bool ffmpegAvailable();

class VideoPipe {
 public:
  VideoPipe() = default;
  ~VideoPipe();
  VideoPipe(const VideoPipe&) = delete;
  VideoPipe& operator=(const VideoPipe&) = delete;

  // Starts ffmpeg making the video for `outPath`. `musicPath` may be empty (a silent video); the
  // music is read from `musicStartMs` on, the time of the first frame, so picture and sound stay
  // together. `frameCount` frames at `fps` give the length. ffmpeg writes only into `privateDir`,
  // a folder no one else can write to: the video and its own messages (the last of which explains
  // a failure). close() then copies the video to `outPath` through File::create, since ffmpeg
  // would write through a link of that name in a shared folder.
  bool open(const std::string& outPath, uint32_t fps, size_t frameCount,
            const std::string& musicPath, uint32_t musicStartMs, const std::string& privateDir,
            std::string& error);
  // One 800x600 frame, RGB, top row first. False once ffmpeg has gone away.
  bool write(const std::vector<uint8_t>& rgb);
  // Waits for ffmpeg and puts the video at its path; false with `error` when either failed.
  bool close(std::string& error);

 private:
  bool spawn(const std::vector<std::string>& args);

  FILE* pipe_ = nullptr;  // ffmpeg's standard input
  pid_t child_ = -1;
  std::string outPath_;
  std::string encodedPath_;  // ffmpeg's output, in the private folder
  std::string logPath_;
};

}  // namespace headless
