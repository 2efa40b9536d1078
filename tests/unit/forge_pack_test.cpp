// `demotool forge` as a whole: the pack holds exactly the 18 names in order with "skora.tga" last,
// reads back through the program's unpacker, comes out byte-identical run to run, and the command
// refuses bad arguments with one line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/demotool_run.h"
#include "support/forged_files.h"
#include "support/temp_dir.h"

namespace {

const std::vector<std::string> kPackNames = {
    "c00.3ds",    "c01.3ds",    "c02.3ds",     "c05.3ds",     "ex_glowa_new.3ds", "muza_final.mp3",
    "back01.tga", "czacha.tga", "loading.tga", "mozg.tga",    "s_down.tga",       "s_end.tga",
    "s_l.tga",    "s_left.tga", "s_p.tga",     "s_right.tga", "s_top.tga",        "skora.tga"};

// Entry names straight from the pack bytes; stops at a malformed entry.
std::vector<std::string> entryNames(const std::vector<uint8_t>& pack, size_t& trailing) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < pack.size()) {
    std::string name;
    while (pos < pack.size() && pack[pos] != 0) name += char(pack[pos++]);
    if (pos + 5 > pack.size()) break;
    const uint32_t size = uint32_t(pack[pos + 1]) | uint32_t(pack[pos + 2]) << 8 |
                          uint32_t(pack[pos + 3]) << 16 | uint32_t(pack[pos + 4]) << 24;
    pos += 5 + size;
    names.push_back(name);
  }
  trailing = pos > pack.size() ? 0 : pack.size() - pos;
  return names;
}

class ForgeCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::getenv("DEMOTOOL"))
        << "DEMOTOOL is not set (ctest sets it to the built demotool)";
  }
};

TEST_F(ForgeCommand, PackHoldsTheEighteenNamesInOrderAndUnpacks) {
  const std::string& pack = forgedPack();
  ASSERT_FALSE(pack.empty());
  size_t trailing = 0;
  EXPECT_EQ(entryNames(readFile(pack), trailing), kPackNames);
  EXPECT_EQ(trailing, 0u) << "bytes after the last entry";
  const ForgedFiles& files = forgedFiles();
  ASSERT_TRUE(files.ok) << files.error;
  EXPECT_EQ(files.names, kPackNames);
  for (const std::string& name : kPackNames)
    EXPECT_FALSE(readFile(files.path(name)).empty()) << name << " is empty";
}

// The build forged the shared pack; a second run here must write the same bytes, and its preview
// every picture as a PNG.
TEST_F(ForgeCommand, SecondRunWritesIdenticalBytesReportsProgressAndPreviews) {
  TempDir out, png;
  const ToolRun run = runDemotool({"forge", out.path(), "--preview", png.path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("forge: back01.tga 800x600"), std::string::npos) << run.err;
  EXPECT_TRUE(readFile(out.file("data.dat")) == readFile(forgedPack())) << "the packs differ";
  const ForgedFiles& shared = forgedFiles();
  ASSERT_TRUE(shared.ok) << shared.error;
  for (const std::string& name : kPackNames)
    EXPECT_TRUE(readFile(out.file(name)) == readFile(shared.path(name))) << name << " differs";
  const std::vector<std::string> previews = png.list();
  EXPECT_EQ(previews.size(), 12u);
  for (const std::string& f : previews) {
    const std::vector<uint8_t> b = readFile(png.file(f));
    EXPECT_TRUE(b.size() >= 8 && b[1] == 'P' && b[2] == 'N') << f << " is no PNG";
  }
}

TEST_F(ForgeCommand, HelpSucceedsAndBadArgumentsFailWithOneLine) {
  const ToolRun help = runDemotool({"forge", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: demotool forge OUTDIR"), std::string::npos);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"forge"},
                                               {"forge", "a", "b"},
                                               {"forge", "--bogus"},
                                               {"forge", "/proc/forge-cannot-be-here"},
                                               {"forge", "x", "--preview"}}) {
    const ToolRun run = runDemotool(args);
    EXPECT_EQ(run.status, 1) << args.back();
    EXPECT_EQ(splitLines(run.err).size(), 1u) << args.back() << ": " << run.err;
  }
}

}  // namespace
