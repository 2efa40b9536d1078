// demotool bench, run as a program on the forged pack: the JSON object's shape, frame counts that
// follow the 16/17 ms clock into the right scenes, figures that are consistent with each other,
// and one clear line for every bad invocation. No timing is asserted.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/demotool_run.h"

namespace {

const char* const kScenes[7] = {"1", "2", "3", "4", "5", "6", "end"};
const char* const kGroups[9] = {"light", "head", "slots", "particles", "c00",
                                "c01",   "c02",  "c05",   "skin"};

// Frames per scene for frames at 0, 16, 33, 49, ... up to toMs, by the timeline's windows.
std::vector<size_t> expectedFrames(uint32_t toMs) {
  const uint32_t ends[6] = {4280, 9050, 12000, 12349, 14604, 16000};
  std::vector<size_t> counts(7, 0);
  uint32_t t = 0;
  for (int i = 0; t <= toMs; ++i) {
    int scene = 6;
    for (int s = 5; s >= 0; --s)
      if (t <= ends[s]) scene = s;
    ++counts[size_t(scene)];
    t += i % 2 == 0 ? 16 : 17;
  }
  return counts;
}

void expectOneErrorLine(const ToolRun& run, const std::string& mentions) {
  expectOneLineFailure(run, mentions);
  EXPECT_EQ(run.err.rfind("demotool bench: ", 0), 0u) << run.err;
}

class Bench : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_FALSE(forgedPack().empty()) << "demotool forge failed"; }
};

TEST_F(Bench, JsonFollowsTheClockIntoTheScenesAndAddsUp) {
  // Through scene 1 and a few frames into scene 2, twice.
  const uint32_t toMs = 4400;
  const ToolRun run = runDemotool(
      {"bench", "--data", forgedPack(), "--json", "--runs", "2", "--to", std::to_string(toMs)});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_TRUE(j.is_object()) << run.out;
  EXPECT_EQ(j["runs"], 2);
  EXPECT_EQ(j["kept"], "best");
  EXPECT_GT(j["peakRssMb"].get<double>(), 10.0);

  const std::vector<size_t> frames = expectedFrames(toMs);
  EXPECT_GT(frames[1], 0u);
  for (int s = 0; s < 7; ++s) {
    SCOPED_TRACE(std::string("scene ") + kScenes[s]);
    const nlohmann::json& scene = j["scenes"][kScenes[s]];
    ASSERT_TRUE(scene.is_object());
    EXPECT_EQ(scene["frames"], frames[size_t(s)]);
    const double median = scene["medianMs"], p99 = scene["p99Ms"], worst = scene["worstMs"];
    if (frames[size_t(s)] == 0) {
      EXPECT_EQ(worst, 0.0);
    } else {
      EXPECT_GT(median, 0.0);
      EXPECT_LE(median, p99);
      EXPECT_LE(p99, worst);
    }
  }

  const nlohmann::json& startup = j["startup"];
  double groupSum = 0.0;
  for (const char* g : kGroups) {
    ASSERT_TRUE(startup["groups"][g].is_number()) << g;
    groupSum += startup["groups"][g].get<double>();
  }
  const double load = startup["loadMs"], total = startup["totalMs"];
  const double before = startup["beforeLoadMs"], first = startup["firstFrameMs"];
  // Each figure is the best of its own over the runs, so sums hold only up to rounding.
  EXPECT_GT(startup["groups"]["slots"].get<double>(), 0.0);
  EXPECT_LE(groupSum, load * 1.01 + 0.01);
  EXPECT_GT(startup["unpackMs"].get<double>(), 0.0);
  EXPECT_GT(before, 0.0);
  EXPECT_LE(before + load + first, total * 1.01 + 0.01);
  // The first frame is one of scene 1's frames.
  EXPECT_LE(first, j["scenes"]["1"]["worstMs"].get<double>() + 0.001);
}

TEST_F(Bench, TableNamesEveryFigure) {
  const ToolRun run = runDemotool({"bench", "--data", forgedPack(), "--to", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* text : {"unpack", "loadAssets", "slots", "skin", "first frame",
                           "total to the first frame", "scene end", "peak resident memory"})
    EXPECT_NE(run.out.find(text), std::string::npos) << text << " in\n" << run.out;
}

TEST_F(Bench, BadInvocationsFailWithOneLine) {
  expectOneErrorLine(runDemotool({"bench", "--runs", "0"}), "--runs");
  expectOneErrorLine(runDemotool({"bench", "--runs", "101"}), "--runs");
  expectOneErrorLine(runDemotool({"bench", "--to", "-5"}), "--to");
  expectOneErrorLine(runDemotool({"bench", "--runs"}), "needs a value");
  expectOneErrorLine(runDemotool({"bench", "--fast"}), "unknown option");
  expectOneErrorLine(runDemotool({"bench", "extra"}), "unexpected argument");
  expectOneErrorLine(runDemotool({"bench", "--data", "/nonexistent/data.dat"}),
                     "/nonexistent/data.dat");
}

}  // namespace
