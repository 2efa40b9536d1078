// `demotool inspect 3ds FILE` run as a process: the JSON shape and order, floats that read back
// to the same 32-bit value, and one clear line with status 1 for files it cannot inspect.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "support/chunk_writer.h"
#include "support/demotool_run.h"
#include "support/temp_dir.h"

using namespace chunk3ds;
using nlohmann::ordered_json;

namespace {

class DemotoolInspect3ds : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::getenv("DEMOTOOL"))
        << "DEMOTOOL is not set (ctest sets it to the built demotool)";
  }
  ToolRun inspect(const std::vector<uint8_t>& file) {
    const std::string path = dir_.file("scene.3ds");
    writeFile(path, file);
    return runDemotool({"inspect", "3ds", path});
  }
  TempDir dir_;
};

std::vector<std::string> keys(const ordered_json& j) {
  std::vector<std::string> out;
  for (auto it = j.begin(); it != j.end(); ++it) out.push_back(it.key());
  return out;
}

float asFloat(const ordered_json& j) {
  return float(j.get<double>());
}

}  // namespace

TEST_F(DemotoolInspect3ds, PrintsTheSceneInListOrder) {
  ChunkWriter w;
  w.begin(kMain).begin(kMdata);
  w.begin(kMatEntry).stringChunk(kMatName, "wood").begin(kMatTexmap);
  w.stringChunk(kMatMapname, "wood.tga").floatChunk(kMatMapUScale, 0.1f).end().end();
  w.begin(kMatEntry).end();
  w.begin(kNamedObject).str("crate").begin(kTriObject).points({{0.1f, 2, 1e-7f}, {3.4e38f, 0, 0}});
  w.texVerts({{0.3f, 0.7f}, {1, 0}}).beginFaces({{0, 1, 1, 6}}).matGroup("wood", {0});
  w.end().end().end();
  w.begin(kNamedObject).str("lamp").end();
  const ToolRun run = inspect(w.finish());
  ASSERT_EQ(run.status, 0) << run.err;
  const ordered_json j = ordered_json::parse(run.out);
  EXPECT_EQ(keys(j), (std::vector<std::string>{"objects", "materials"}));
  ASSERT_EQ(j["objects"].size(), 2u);
  const ordered_json& lamp = j["objects"][0];
  EXPECT_EQ(keys(lamp), (std::vector<std::string>{"name", "materialName", "material", "vertexCount",
                                                  "faceCount", "hasTexCoords", "positions",
                                                  "texCoords", "faces"}));
  EXPECT_EQ(lamp["name"], "lamp");
  EXPECT_TRUE(lamp["materialName"].is_null());
  EXPECT_TRUE(lamp["material"].is_null());
  EXPECT_TRUE(lamp["texCoords"].is_null());
  EXPECT_EQ(lamp["hasTexCoords"], false);
  EXPECT_EQ(lamp["positions"], ordered_json::array());

  const ordered_json& crate = j["objects"][1];
  EXPECT_EQ(crate["materialName"], "wood");
  EXPECT_EQ(crate["material"], "wood");
  EXPECT_EQ(crate["vertexCount"], 2);
  EXPECT_EQ(crate["faceCount"], 1);
  EXPECT_EQ(crate["hasTexCoords"], true);
  EXPECT_EQ(crate["faces"], ordered_json::parse("[[0,1,1,6]]"));
  const ordered_json& p0 = crate["positions"][0];
  EXPECT_EQ(asFloat(p0[0]), 0.1f);
  EXPECT_EQ(asFloat(p0[1]), 1e-7f);
  EXPECT_EQ(asFloat(p0[2]), -2.0f);
  EXPECT_EQ(asFloat(crate["positions"][1][0]), 3.4e38f);
  EXPECT_EQ(asFloat(crate["texCoords"][0][1]), 0.7f);
  // Shortest text for the float, not the digits of its double widening (0.10000000149011612).
  EXPECT_NE(run.out.find("[[0.1,"), std::string::npos) << run.out;

  ASSERT_EQ(j["materials"].size(), 2u);
  EXPECT_EQ(j["materials"][0], ordered_json::parse(R"({"name":null,"textureMap":null})"));
  const ordered_json& map = j["materials"][1]["textureMap"];
  EXPECT_EQ(keys(map), (std::vector<std::string>{"fileName", "uScale", "vScale", "uOffset",
                                                 "vOffset", "angle"}));
  EXPECT_EQ(map["fileName"], "wood.tga");
  EXPECT_EQ(asFloat(map["uScale"]), 0.1f);
  EXPECT_EQ(asFloat(map["vScale"]), 1.0f);
}

TEST_F(DemotoolInspect3ds, DamagedFilesStillPrintWhatWasRead) {
  ChunkWriter w;
  w.begin(kMain).begin(kNamedObject).str("bad\xff\xfe name").points({{1, 2, 3}, {4, 5, 6}});
  std::vector<uint8_t> file = w.finish();
  file.resize(file.size() - 3);
  const ToolRun run = inspect(file);
  ASSERT_EQ(run.status, 0) << run.err;
  const ordered_json j = ordered_json::parse(run.out);
  ASSERT_EQ(j["objects"].size(), 1u);
  EXPECT_EQ(j["objects"][0]["vertexCount"], 1);
  EXPECT_EQ(j["objects"][0]["positions"].size(), 1u);
}

TEST_F(DemotoolInspect3ds, RefusesWhatItCannotInspect) {
  ChunkWriter notMagic;
  notMagic.begin(kMdata).begin(kNamedObject).str("x");
  for (const std::vector<uint8_t>& file : {notMagic.finish(), std::vector<uint8_t>{}}) {
    expectOneLineFailure(inspect(file), "M3DMAGIC");
  }
  expectOneLineFailure(runDemotool({"inspect", "3ds", dir_.file("absent.3ds")}), "absent.3ds");
}
