// demotool capture: the presentation rendered headless at exact frame times, written as PNG
// frames, an H.264 video with the music, and/or one contact sheet.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/commands.h"
#include "tools/common/command_line.h"
#include "tools/common/png_writer.h"
#include "tools/headless/contact_sheet.h"
#include "tools/headless/frame_pixels.h"
#include "tools/headless/progress.h"
#include "tools/headless/run_options.h"
#include "tools/headless/runner.h"
#include "tools/headless/schedule.h"
#include "tools/headless/tool_paths.h"
#include "tools/headless/video_pipe.h"

namespace {

struct CaptureOptions {
  std::string pack;
  uint32_t fps = 60;
  uint32_t fromMs = 0;
  uint32_t toMs = headless::kDefaultLastFrameMs;
  std::string outDir = "frames";
  bool outGiven = false;
  std::string video;
  std::string sheet;
  std::string loading;
};

int fail(const std::string& message) {
  return cli::fail("capture", message);
}

cli::CommandLine commandLine(const Command& self, CaptureOptions& o) {
  using namespace cli;
  return CommandLine{
      self.name,
      self.summary,
      {},
      "Renders at exact frame times, with no display and no clock.\n",
      {headless::packOption(o.pack), headless::fpsOption(o.fps),
       numberOption("--from", "MS", "first frame written; earlier frames are still run", o.fromMs,
                    0, UINT32_MAX),
       headless::lastFrameOption(o.toMs),
       textOption("--out", "DIR",
                  "PNG frames frame-000000.png ... by frame index; with --video or --sheet,\n"
                  "PNG frames are written only when --out is given",
                  o.outDir, &o.outGiven),
       textOption("--video", "FILE", "H.264/MP4 with the music, through ffmpeg", o.video),
       textOption("--sheet", "FILE",
                  "one PNG with a frame from the middle of each scene and the end picture",
                  o.sheet),
       textOption("--loading", "FILE", "the loading picture shown before the first frame, as PNG",
                  o.loading)}};
}

// Where the frames of one capture go; any of them may be off.
struct CaptureSinks {
  std::string pngDir;  // empty: no PNG frames
  headless::VideoPipe* video = nullptr;
  std::vector<headless::SheetPick> picks;
  std::vector<headless::SheetCell> cells;
};

bool wantsPixels(const CaptureSinks& sinks, size_t frame, bool written) {
  if (written && (!sinks.pngDir.empty() || sinks.video)) return true;
  for (const auto& pick : sinks.picks)
    if (pick.frame == frame) return true;
  return false;
}

bool deliverFrame(CaptureSinks& sinks, size_t frame, bool written, const std::vector<uint8_t>& rgb,
                  std::string& error) {
  if (written && !sinks.pngDir.empty()) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06zu.png", frame);
    if (!writePng(sinks.pngDir + name, rgb.data(), headless::kFrameWidth, headless::kFrameHeight,
                  error))
      return false;
  }
  if (written && sinks.video && !sinks.video->write(rgb)) {
    if (!sinks.video->close(error)) return false;
    error = "ffmpeg stopped reading frames";
    return false;
  }
  for (const auto& pick : sinks.picks)
    if (pick.frame == frame) sinks.cells.push_back({pick.label, rgb});
  return true;
}

// Runs every frame of `times`, handing frames from `firstWritten` on to the sinks.
bool runFrames(headless::Runner& runner, const std::vector<uint32_t>& times, size_t firstWritten,
               CaptureSinks& sinks, double& fps, std::string& error) {
  headless::Progress progress(times.size());
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < times.size(); ++i) {
    const bool written = i >= firstWritten;
    const bool read = wantsPixels(sinks, i, written);
    runner.frame(times[i], [&] {
      if (read) headless::readFrameTopDown(rgb);
    });
    if (runner.interrupted()) error = "interrupted";
    if (runner.interrupted() || (read && !deliverFrame(sinks, i, written, rgb, error))) {
      progress.finish();
      return false;
    }
    progress.step(i + 1);
  }
  fps = progress.framesPerSecond(times.size());
  progress.finish();
  return true;
}

// The unpacked music, or empty (with a note) when the pack has none.
std::string musicFile(const headless::Runner& runner) {
  const std::string music = platform::resolveName((runner.folder() + "/muza_final.mp3").c_str());
  if (platform::fileExists(music.c_str())) return music;
  std::fprintf(stderr, "demotool capture: the pack has no muza_final.mp3; the video is silent\n");
  return {};
}

bool parentFolderExists(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return platform::fileExists(parent.c_str());
}

}  // namespace

int runCaptureCommand(const Command& self, int argc, char** argv) {
  CaptureOptions o;
  std::vector<std::string> arguments;
  const int status = cli::parse(argc, argv, commandLine(self, o), arguments);
  if (status >= 0) return status;
  if (o.fromMs > o.toMs)
    return fail("--from " + std::to_string(o.fromMs) + " lies after --to " +
                std::to_string(o.toMs));
  std::string error;
  if (o.pack.empty()) o.pack = headless::defaultPackPath();

  // Paths are fixed now: the run itself works in a private folder.
  const bool pngs = o.outGiven || (o.video.empty() && o.sheet.empty());
  const std::string outDir = headless::absolutePath(o.outDir);
  const std::string video = o.video.empty() ? "" : headless::absolutePath(o.video);
  const std::string sheet = o.sheet.empty() ? "" : headless::absolutePath(o.sheet);
  const std::string loading = o.loading.empty() ? "" : headless::absolutePath(o.loading);
  if (!video.empty() && !headless::ffmpegAvailable())
    return fail("--video needs ffmpeg, which is not on PATH (PNG capture works without it)");
  if (pngs && !headless::prepareOutputFolder(outDir, error)) return fail(error);
  for (const std::string& file : {video, sheet, loading})
    if (!file.empty() && !parentFolderExists(file)) return fail("no folder for " + file);

  const std::vector<uint32_t> times = headless::scheduleAtRate(o.fps, o.toMs);
  size_t firstWritten = 0;
  while (firstWritten < times.size() && times[firstWritten] < o.fromMs) ++firstWritten;

  if (firstWritten == times.size())
    return fail("no frame at " + std::to_string(o.fps) + " fps lies between --from " +
                std::to_string(o.fromMs) + " and --to " + std::to_string(o.toMs));

  headless::Runner runner;
  std::vector<uint8_t> loadingRgb;
  const auto readLoading = [&] { headless::readFrameTopDown(loadingRgb); };
  if (!runner.open(o.pack, error, loading.empty() ? std::function<void()>() : readLoading))
    return fail(error);
  if (!loading.empty()) {
    if (loadingRgb.empty()) return fail("the pack's loading picture was not shown");
    if (!writePng(loading, loadingRgb.data(), headless::kFrameWidth, headless::kFrameHeight, error))
      return fail(error);
  }
  CaptureSinks sinks;
  if (pngs) sinks.pngDir = outDir;
  if (!sheet.empty()) sinks.picks = headless::pickSheetFrames(times);
  headless::VideoPipe pipe;
  if (!video.empty()) {
    const uint32_t start = firstWritten < times.size() ? times[firstWritten] : 0;
    if (!pipe.open(video, o.fps, times.size() - firstWritten, musicFile(runner), start,
                   runner.folder(), error))
      return fail(error);
    sinks.video = &pipe;
  }

  double fps = 0.0;
  if (!runFrames(runner, times, firstWritten, sinks, fps, error)) return fail(error);
  if (!video.empty() && !pipe.close(error)) return fail(error);
  runner.close();
  if (!sheet.empty() && !headless::writeContactSheet(sheet, sinks.cells, error)) return fail(error);
  std::printf("captured %zu frames (%zu from %u to %u ms kept) at %.1f frames per second\n",
              times.size(), times.size() - firstWritten, times[firstWritten], times.back(), fps);
  return 0;
}
