// demotool capture, run as a program: frame counts and sizes, byte-identical repeats, the video's
// streams and length, and the one-line failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/demotool_run.h"
#include "support/temp_dir.h"

namespace {

struct PngSize {
  uint32_t width = 0, height = 0;
};

uint32_t bigEndian32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Width and height from the IHDR chunk, which a valid PNG has first.
PngSize pngSize(const std::string& path) {
  const std::vector<uint8_t> b = readFile(path);
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (b.size() < 24 || !std::equal(signature, signature + 8, b.begin())) return {};
  if (std::string(b.begin() + 12, b.begin() + 16) != "IHDR") return {};
  return {bigEndian32(b, 16), bigEndian32(b, 20)};
}

bool packHasMusic(const std::string& pack) {
  const std::vector<uint8_t> bytes = readFile(pack);
  const std::string name("muza_final.mp3\0", 15);
  return std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) != bytes.end();
}

class Capture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_FALSE(forgedPack().empty()) << "demotool forge failed"; }
  const std::string& pack() const { return forgedPack(); }
  TempDir dir;
};

TEST_F(Capture, ShortRangeWritesTheFramesFromFromToToIdenticallyTwice) {
  // 10 fps to 400 ms: frames 0..4 at 0, 100, ..., 400 ms; the first is run but not written.
  const std::vector<std::string> base = {"capture", "--data", pack(), "--fps", "10",
                                         "--from",  "100",    "--to", "400"};
  std::vector<std::string> first = base, second = base;
  first.insert(first.end(), {"--out", dir.file("a")});
  second.insert(second.end(), {"--out", dir.file("b")});
  const ToolRun a = runDemotool(first);
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.err, "") << "quiet when stderr is not a terminal";
  const ToolRun b = runDemotool(second);
  ASSERT_EQ(b.status, 0) << b.err;

  const std::vector<std::string> expected = {"frame-000001.png", "frame-000002.png",
                                             "frame-000003.png", "frame-000004.png"};
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.file("a")))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, expected);
  for (const std::string& name : expected) {
    const PngSize size = pngSize(dir.file("a/" + name));
    EXPECT_EQ(size.width, 800u) << name;
    EXPECT_EQ(size.height, 600u) << name;
    EXPECT_TRUE(readFile(dir.file("a/" + name)) == readFile(dir.file("b/" + name)))
        << name << " differs between two captures of the same pack";
  }
}

TEST_F(Capture, SheetHoldsTheScenesTheRunReaches) {
  const ToolRun run = runDemotool({"capture", "--data", pack(), "--fps", "5", "--to", "5000",
                                   "--sheet", dir.file("sheet.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  // Scenes 1 and 2 only: two cells side by side, and no frames folder without --out.
  const PngSize size = pngSize(dir.file("sheet.png"));
  EXPECT_GT(size.width, 2 * 300u);
  EXPECT_LT(size.width, 3 * 300u);
  EXPECT_FALSE(std::filesystem::exists(dir.file("frames")));
}

TEST_F(Capture, VideoHasTheLengthOfItsFramesAndTheMusic) {
  ASSERT_EQ(std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1"),
            0)
      << "ffmpeg or ffprobe is missing (Debian package ffmpeg)";
  // 10 fps to 990 ms: ten frames, one second.
  const std::string video = dir.file("clip.mp4");
  const ToolRun run =
      runDemotool({"capture", "--data", pack(), "--fps", "10", "--to", "990", "--video", video});
  ASSERT_EQ(run.status, 0) << run.err;

  const std::string probe = dir.file("probe.json");
  const std::string command =
      "ffprobe -v error -show_entries format=duration:stream=codec_type,codec_name,width,height "
      "-of json '" +
      video + "' > '" + probe + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::vector<uint8_t> text = readFile(probe);
  const auto info = nlohmann::json::parse(text.begin(), text.end());
  EXPECT_NEAR(std::stod(info["format"]["duration"].get<std::string>()), 1.0, 0.1);
  int videos = 0, audios = 0;
  for (const auto& s : info["streams"]) {
    if (s["codec_type"] == "video") {
      ++videos;
      EXPECT_EQ(s["codec_name"], "h264");
      EXPECT_EQ(s["width"], 800);
      EXPECT_EQ(s["height"], 600);
    }
    if (s["codec_type"] == "audio") ++audios;
  }
  EXPECT_EQ(videos, 1);
  EXPECT_EQ(audios, packHasMusic(pack()) ? 1 : 0);
}

TEST_F(Capture, AStopRequestEndsTheRunAndRemovesItsFolder) {
  // SDL turns SIGTERM into a close request; the run must end on it, not be killed mid-way.
  TempDir scratch;
  const std::string firstFrame = dir.file("f/frame-000001.png");
  const std::string command =
      "TMPDIR='" + scratch.path() + "' SDL_VIDEODRIVER=offscreen '" + std::getenv("DEMOTOOL") +
      "' capture --data '" + pack() + "' --fps 30 --out '" + dir.file("f") + "' >/dev/null 2>'" +
      dir.file("err") + "' & pid=$!; for i in $(seq 600); do [ -e '" + firstFrame +
      "' ] && break; sleep 0.1; done; kill -TERM $pid; wait $pid";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::vector<uint8_t> err = readFile(dir.file("err"));
  EXPECT_EQ(std::string(err.begin(), err.end()), "demotool capture: interrupted\n");
  EXPECT_EQ(scratch.list(), std::vector<std::string>{});
}

TEST_F(Capture, FailsClearlyAndLeavesNothingBehind) {
  expectOneLineFailure(
      runDemotool({"capture", "--data", dir.file("none.dat"), "--to", "0", "--out", dir.file("f")}),
      "no asset pack");
  writeFile(dir.file("plain"), {1, 2, 3});
  expectOneLineFailure(
      runDemotool({"capture", "--data", pack(), "--to", "0", "--out", dir.file("plain/sub")}),
      "output folder");
  expectOneLineFailure(
      runDemotool({"capture", "--data", pack(), "--to", "0", "--out", dir.file("f")},
                  {"SDL_VIDEODRIVER=no-such-driver"}),
      "no GL context");
  expectOneLineFailure(runDemotool({"capture", "--fps", "0"}), "--fps");
  expectOneLineFailure(runDemotool({"capture", "--from", "500", "--to", "100"}), "--from");

  // Without ffmpeg a video is refused at once, and PNG capture still works.
  TempDir emptyPath;
  const std::string noFfmpeg = "PATH=" + emptyPath.path();
  expectOneLineFailure(
      runDemotool({"capture", "--data", pack(), "--to", "0", "--video", dir.file("v.mp4")},
                  {noFfmpeg}),
      "ffmpeg");
  const ToolRun png =
      runDemotool({"capture", "--data", pack(), "--to", "0", "--out", dir.file("g")}, {noFfmpeg});
  EXPECT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(pngSize(dir.file("g/frame-000000.png")).width, 800u);
}

}  // namespace
