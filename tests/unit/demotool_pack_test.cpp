// demotool pack and inspect, run as the real binary (path in $DEMOTOOL): round trips through
// create, list and extract, the refusals with their single stderr line, and the JSON of inspect.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/chunk_writer.h"
#include "support/demotool_run.h"
#include "support/temp_dir.h"
#include "support/tga_writer.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

std::string text(const Bytes& b) {
  return std::string(b.begin(), b.end());
}
Bytes bytes(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

std::vector<std::string> listDir(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A source folder of three files, written in an order that is not the pack order, and a subfolder
// that create must pass over.
void fillSource(const TempDir& t) {
  fs::create_directory(t.file("src"));
  writeFile(t.file("src/skora.tga"), bytes("skin!"));
  writeFile(t.file("src/zeta.mp3"), bytes("music"));
  writeFile(t.file("src/alpha.3ds"), {});
  fs::create_directory(t.file("src/sub"));
}

}  // namespace

TEST(DemotoolPack, CreateListExtractRoundTrip) {
  TempDir t;
  fillSource(t);
  ToolRun r = runDemotool({"pack", "create", t.file("p.dat"), t.file("src")});
  ASSERT_EQ(r.status, 0) << r.err;

  r = runDemotool({"pack", "list", t.file("p.dat")});
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json list = nlohmann::json::parse(r.out);
  const nlohmann::json expected = {{{"name", "alpha.3ds"}, {"size", 0}, {"offset", 14}},
                                   {{"name", "zeta.mp3"}, {"size", 5}, {"offset", 27}},
                                   {{"name", "skora.tga"}, {"size", 5}, {"offset", 46}}};
  EXPECT_EQ(list, expected);
  const Bytes pack = readFile(t.file("p.dat"));
  ASSERT_EQ(pack.size(), 51u);
  EXPECT_EQ(text(Bytes(pack.begin() + 46, pack.end())), "skin!");

  fs::create_directory(t.file("out"));
  r = runDemotool({"pack", "extract", t.file("p.dat"), t.file("out")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(listDir(t.file("out")),
            (std::vector<std::string>{"alpha.3ds", "skora.tga", "zeta.mp3"}));
  EXPECT_EQ(text(readFile(t.file("out/zeta.mp3"))), "music");
  EXPECT_TRUE(readFile(t.file("out/alpha.3ds")).empty());
}

TEST(DemotoolPack, CreateIsDeterministicAndSkipsItsOwnOutput) {
  TempDir t;
  fillSource(t);
  ASSERT_EQ(runDemotool({"pack", "create", t.file("a.dat"), t.file("src/zeta.mp3"),
                         t.file("src/skora.tga"), t.file("src/alpha.3ds")})
                .status,
            0);
  // Written into the folder it packs, twice: the second run must not pack the first pack.
  ASSERT_EQ(runDemotool({"pack", "create", t.file("src/b.dat"), t.file("src")}).status, 0);
  ASSERT_EQ(runDemotool({"pack", "create", t.file("src/b.dat"), t.file("src")}).status, 0);
  EXPECT_EQ(readFile(t.file("a.dat")), readFile(t.file("src/b.dat")));
}

TEST(DemotoolPack, ExtractDefaultsToWorkingDirectory) {
  TempDir t;
  fillSource(t);
  ASSERT_EQ(runDemotool({"pack", "create", t.file("p.dat"), t.file("src")}).status, 0);
  fs::create_directory(t.file("here"));
  const std::string previous = fs::current_path().string();
  fs::current_path(t.file("here"));
  const ToolRun r = runDemotool({"pack", "extract", t.file("p.dat")});
  fs::current_path(previous);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(listDir(t.file("here")),
            (std::vector<std::string>{"alpha.3ds", "skora.tga", "zeta.mp3"}));
}

TEST(DemotoolPack, CreateRefusals) {
  TempDir t;
  fs::create_directory(t.file("noskora"));
  writeFile(t.file("noskora/a.tga"), bytes("a"));
  expectOneLineFailure(runDemotool({"pack", "create", t.file("p.dat"), t.file("noskora")}),
                       "skora.tga");

  fs::create_directory(t.file("bad"));
  writeFile(t.file("bad/skora.tga"), bytes("s"));
  writeFile(t.file("bad/back\\slash.tga"), bytes("b"));
  expectOneLineFailure(runDemotool({"pack", "create", t.file("p.dat"), t.file("bad")}),
                       "back\\slash.tga");

  fs::create_directory(t.file("other"));
  writeFile(t.file("other/skora.tga"), bytes("t"));
  expectOneLineFailure(runDemotool({"pack", "create", t.file("p.dat"), t.file("bad/skora.tga"),
                                    t.file("other/skora.tga")}),
                       "two inputs");
  expectOneLineFailure(runDemotool({"pack", "create", t.file("p.dat"), t.file("absent.tga")}),
                       "absent.tga");
  EXPECT_FALSE(fs::exists(t.file("p.dat")));
}

TEST(DemotoolPack, BrokenPacksAreRefused) {
  TempDir t;
  fillSource(t);
  ASSERT_EQ(runDemotool({"pack", "create", t.file("p.dat"), t.file("src")}).status, 0);
  Bytes cut = readFile(t.file("p.dat"));
  cut.resize(cut.size() - 1);
  writeFile(t.file("cut.dat"), cut);
  expectOneLineFailure(runDemotool({"pack", "list", t.file("cut.dat")}),
                       "the pack ends inside the entry \"skora.tga\"");
  fs::create_directory(t.file("out"));
  expectOneLineFailure(runDemotool({"pack", "extract", t.file("cut.dat"), t.file("out")}),
                       "ends inside the entry");
  EXPECT_TRUE(listDir(t.file("out")).empty());

  Bytes evil = bytes("../evil.tga");
  evil.insert(evil.end(), {0, 1, 0, 0, 0, 'x'});
  writeFile(t.file("evil.dat"), evil);
  expectOneLineFailure(runDemotool({"pack", "extract", t.file("evil.dat"), t.file("out")}),
                       "../evil.tga");
  EXPECT_FALSE(fs::exists(t.file("evil.tga")));
  expectOneLineFailure(runDemotool({"pack", "list", t.file("absent.dat")}), "cannot open");
}

TEST(DemotoolPack, HelpAndUsageErrors) {
  TempDir t;
  for (const char* command : {"pack", "inspect"}) {
    const ToolRun r = runDemotool({command, "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("usage: demotool ", 0), 0u) << r.out;
    EXPECT_TRUE(r.err.empty());
  }
  expectOneLineFailure(runDemotool({"pack"}), "expects");
  expectOneLineFailure(runDemotool({"pack", "shuffle", "x"}), "unknown");
  expectOneLineFailure(runDemotool({"pack", "list"}), "expects");
  expectOneLineFailure(runDemotool({"inspect", "png", "x"}), "unknown");
}

TEST(DemotoolInspect, TgaFieldsAndPixelHash) {
  TempDir t;
  Bytes tga = tgaBytes(2, 1, {10, 20, 30, 40, 50, 60});
  writeFile(t.file("a.tga"), tga);
  const ToolRun r = runDemotool({"inspect", "tga", t.file("a.tga")});
  ASSERT_EQ(r.status, 0) << r.err;
  // sha256 of the six bytes 0a 14 1e 28 32 3c, as stored (not swapped to R, G, B).
  const nlohmann::json expected = {
      {"width", 2},
      {"height", 1},
      {"bitsPerPixel", 24},
      {"imageType", 2},
      {"pixelsSha256", "6e6db0c1e9357a0f1543a26d526d8548ae9867a4a64de41c2752e13f77bcfa13"}};
  EXPECT_EQ(nlohmann::json::parse(r.out), expected);

  tga[2] = 10;
  writeFile(t.file("rle.tga"), tga);
  expectOneLineFailure(runDemotool({"inspect", "tga", t.file("rle.tga")}), "image type 10");
  expectOneLineFailure(runDemotool({"inspect", "tga", t.file("absent.tga")}), "cannot read");
}

TEST(DemotoolInspect, HeadJsonKeepsFloatsAndListOrder) {
  TempDir t;
  const float coords[9] = {0.1f, 1e-7f, -2.5f, 3.0f, 1.0f / 3.0f, 0.0f, 16777217.0f, 4.0f, 0.0f};
  Bytes mesh = headFileBytes({{coords[0], coords[1], coords[2]},
                              {coords[3], coords[4], coords[5]},
                              {coords[6], coords[7], coords[8]}},
                             {{0, 1, 2}}, {{0.0f, 1.0f}, {0.7f, 0.2f}, {1.0f, 1.0f}});
  writeFile(t.file("head.3ds"), mesh);

  const ToolRun r = runDemotool({"inspect", "head", t.file("head.3ds")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("[0.1,"), std::string::npos) << "not the shortest form: " << r.out;
  const nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["vertexCount"], 3);
  EXPECT_EQ(j["faceCount"], 1);
  EXPECT_EQ(j["faces"], nlohmann::json::parse("[[0,1,2]]"));
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(j["positions"][i / 3][i % 3].get<float>(), coords[i]) << "coordinate " << i;
  EXPECT_EQ(j["uv"][1][0].get<float>(), 0.7f);
  // Vertex 0 of the one face (0, 1, 2): neighbour 2 in front, then 1.
  ASSERT_EQ(j["neighbours"][0].size(), 2u);
  EXPECT_EQ(j["neighbours"][0][0][0], 2);
  EXPECT_EQ(j["neighbours"][0][1][0], 1);
  EXPECT_EQ(j["neighbours"][1][0][0], 2);
  EXPECT_GT(j["neighbours"][0][0][1].get<float>(), 0.0f);

  mesh.pop_back();
  writeFile(t.file("short.3ds"), mesh);
  expectOneLineFailure(runDemotool({"inspect", "head", t.file("short.3ds")}), "ends inside");
  mesh.push_back(0);
  mesh[mesh.size() - 2] = 3;  // face corner c = 3 with 3 vertices
  writeFile(t.file("index.3ds"), mesh);
  expectOneLineFailure(runDemotool({"inspect", "head", t.file("index.3ds")}), "face 0");
}
