// demotool trace, run as a program: at a steady 60 fps and with irregular deltas the frames land
// in the right scene windows and the eleven flashes fire in the first frame past their times.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "support/demotool_run.h"
#include "support/temp_dir.h"

namespace {

const uint32_t kFlashTimes[11] = {1000,  2605,  4280,  5861,  9050, 9621,
                                  12000, 12149, 12349, 14604, 15591};

// The scene a time selects, as trace prints it: 1 to 6, or "end".
nlohmann::json expectedScene(uint32_t t) {
  const uint32_t ends[6] = {4280, 9050, 12000, 12349, 14604, 16000};
  for (int i = 0; i < 6; ++i)
    if (t <= ends[i]) return i + 1;
  return "end";
}

int expectedFired(uint32_t t) {
  int n = 0;
  for (uint32_t f : kFlashTimes) n += t > f ? 1 : 0;
  return n;
}

std::vector<nlohmann::json> traceLines(const std::vector<std::string>& args) {
  const ToolRun run = runDemotool(args);
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<nlohmann::json> frames;
  for (const std::string& line : splitLines(run.out))
    frames.push_back(nlohmann::json::parse(line, nullptr, false));
  return frames;
}

// Every frame's time, delta, scene and fired count against the schedule that produced it.
void expectFramesFollow(const std::vector<nlohmann::json>& frames,
                        const std::vector<uint32_t>& times) {
  ASSERT_EQ(frames.size(), times.size());
  uint32_t previous = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    const auto& f = frames[i];
    ASSERT_FALSE(f.is_discarded()) << "frame " << i << " is not JSON";
    SCOPED_TRACE("frame " + std::to_string(i) + " at " + std::to_string(times[i]) + " ms");
    EXPECT_EQ(f["frame"], i);
    EXPECT_EQ(f["nowMs"], times[i]);
    EXPECT_EQ(f["deltaMs"], times[i] - previous);
    EXPECT_EQ(f["scene"], expectedScene(times[i]));
    EXPECT_EQ(f["fired"], expectedFired(times[i]));
    EXPECT_EQ(f["value"].is_null(), f["scene"] == "end");
    previous = times[i];
  }
}

class Trace : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_FALSE(forgedPack().empty()) << "demotool forge failed"; }
  const std::string& pack() const { return forgedPack(); }
};

TEST_F(Trace, SixtyFramesASecondWalkTheScenesAndFireEveryFlashOnce) {
  const auto frames = traceLines({"trace", "--data", pack(), "--fps", "60", "--to", "16100"});
  std::vector<uint32_t> times;
  for (uint32_t i = 0; i * 1000 / 60 <= 16100; ++i) times.push_back(i * 1000 / 60);
  expectFramesFollow(frames, times);
  ASSERT_EQ(frames.size(), times.size());

  // Window changes at the exact frames: 4280 ms is frame 256.8, so frame 256 (4266 ms) is the
  // last of scene 1 and frame 257 (4283 ms) the first of scene 2; the end scene starts at 961.
  EXPECT_EQ(frames[256]["scene"], 1);
  EXPECT_EQ(frames[257]["scene"], 2);
  EXPECT_EQ(frames[960]["scene"], 6);
  EXPECT_EQ(frames[961]["scene"], "end");
  // A flash shows full in the frame it fires, faded by that frame's delta only.
  EXPECT_EQ(frames[60]["fired"], 0);  // exactly 1000 ms: not yet
  EXPECT_EQ(frames[61]["fired"], 1);
  EXPECT_NEAR(frames[61]["flash"].get<double>(), 1.0 - 16.0 / 200.0, 1e-6);
  EXPECT_EQ(frames.back()["fired"], 11);
  EXPECT_EQ(frames.back()["strips"], true);
  EXPECT_EQ(frames[0]["strips"], false);
}

TEST_F(Trace, IrregularDeltasKeepTheSceneWindows) {
  // Stalls, bursts, zero deltas and one long gap that passes several events at once.
  // No delta exceeds the 349 ms of scene 4, so every window is visited.
  const uint32_t pattern[] = {16, 0, 1, 133, 7, 250, 66, 170, 3, 290};
  std::string text;
  std::vector<uint32_t> times;
  uint32_t t = 0;
  for (int i = 0; t < 16500; ++i) {
    const uint32_t d = i == 40 ? 2000 : pattern[i % 10];
    text += std::to_string(d) + (i % 7 == 0 ? "\r\n" : "\n");
    t += d;
    if (t <= 16300) times.push_back(t);
  }
  TempDir dir;
  writeFile(dir.file("deltas.txt"), std::vector<uint8_t>(text.begin(), text.end()));
  const auto frames =
      traceLines({"trace", "--data", pack(), "--deltas", dir.file("deltas.txt"), "--to", "16300"});
  expectFramesFollow(frames, times);
  std::set<std::string> scenes;
  for (const auto& f : frames) scenes.insert(f["scene"].dump());
  EXPECT_EQ(scenes, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "\"end\""}));
}

// Deltas that are multiples of 75 ms turn the scenes by exact binary fractions (75 / 120 = 0.625
// degrees, 75 / 600 = 0.125 units), so each scene's value is exactly its own frames' deltas over
// its divisor. Vertex 1084 of the head is dragged down by delta / 100 in every frame of scenes 1
// and 2, a long frame as far as its length says, and stays where it is from scene 3 on. A frame of
// delta 0 in scenes 1 and 2 drags nothing but still lets the stretched mesh relax around the chin.
TEST_F(Trace, SceneValuesAndTheHeadsDragFollowEachFramesDelta) {
  const uint32_t pattern[] = {75, 0, 150, 75, 450, 225, 0, 75};
  std::string text;
  std::vector<uint32_t> deltas;
  for (uint32_t t = 0, i = 0; t < 16300; t += deltas.back(), ++i) {
    deltas.push_back(pattern[i % 8]);
    text += std::to_string(deltas.back()) + "\n";
  }
  TempDir dir;
  writeFile(dir.file("deltas.txt"), std::vector<uint8_t>(text.begin(), text.end()));
  const auto frames =
      traceLines({"trace", "--data", pack(), "--deltas", dir.file("deltas.txt"), "--to", "16300"});
  ASSERT_GT(frames.size(), 100u);
  const double divisors[6] = {120, 120, 120, 120, 120, 600};
  uint32_t spent[6] = {};
  int stillFramesThatRelaxed = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    const auto& f = frames[i];
    SCOPED_TRACE("frame " + std::to_string(i) + " at " + f["nowMs"].dump() + " ms");
    ASSERT_EQ(f["deltaMs"], deltas[i]);
    if (f["scene"] == "end") break;
    const int scene = f["scene"].get<int>() - 1;
    spent[scene] += deltas[i];
    EXPECT_EQ(f["value"].get<double>(), spent[scene] / divisors[scene]);
    if (i == 0) continue;
    const auto& head = f["head"];
    const auto& before = frames[i - 1]["head"];
    ASSERT_TRUE(head.is_array());
    EXPECT_EQ(head[0], before[0]);
    EXPECT_EQ(head[2], before[2]);
    const double drag = scene < 2 ? deltas[i] / 100.0 : 0.0;
    EXPECT_NEAR(head[1].get<double>(), before[1].get<double>() - drag, 1e-5);
    const auto& neighbour = f["headNeighbour"];
    ASSERT_TRUE(neighbour.is_array());
    if (scene >= 2) {
      EXPECT_EQ(neighbour, frames[i - 1]["headNeighbour"]);
    } else if (deltas[i] == 0) {
      EXPECT_NE(neighbour, frames[i - 1]["headNeighbour"])
          << "a frame of delta 0 left the mesh still";
      ++stillFramesThatRelaxed;
    }
  }
  EXPECT_GT(spent[5], 0u) << "the schedule never reached scene 6";
  EXPECT_GT(stillFramesThatRelaxed, 10);
}

TEST_F(Trace, RefusesBadInputInOneLine) {
  TempDir dir;
  writeFile(dir.file("bad.txt"), {'1', '6', '\n', '-', '3', '\n'});
  expectOneLineFailure(runDemotool({"trace", "--data", pack(), "--deltas", dir.file("bad.txt")}),
                       "line 2");
  expectOneLineFailure(runDemotool({"trace", "--fps", "30", "--deltas", dir.file("bad.txt")}),
                       "--deltas");
  expectOneLineFailure(runDemotool({"trace", "--data", dir.file("none.dat")}), "none.dat");
}

}  // namespace
