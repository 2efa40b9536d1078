// The asset pack: unpacking round trips, the names and truncations that must be refused without
// leaving files behind (inside or outside the target folder), and the removal at exit.
#include "assets/data_pack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/pack_writer.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

void addEntry(Bytes& pack, const std::string& name, const Bytes& content) {
  pack.insert(pack.end(), name.begin(), name.end());
  pack.push_back(0);
  const uint32_t size = uint32_t(content.size());
  for (int i = 0; i < 4; ++i) pack.push_back(uint8_t(size >> (8 * i)));
  pack.insert(pack.end(), content.begin(), content.end());
}

Bytes bytesOf(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// A folder with the pack beside an empty target folder "out", so a test can see whether anything
// was written outside the target.
struct PackSite {
  TempDir root;
  std::string pack = root.file("pack.dat");
  std::string out = root.file("out");
  PackSite() { std::filesystem::create_directory(out); }
  std::vector<std::string> outside() const { return root.list(); }
  std::vector<std::string> inside() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(out))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

const std::vector<std::string> kOnlyPackAndOut = {"out", "pack.dat"};

Bytes threeEntryPack() {
  Bytes pack;
  addEntry(pack, "a.tga", bytesOf("alpha"));
  addEntry(pack, "music.mp3", bytesOf("beta-content"));
  addEntry(pack, "skora.tga", bytesOf("skin"));
  return pack;
}

}  // namespace

TEST(DataPack, WrittenPackUnpacksEveryEntry) {
  PackSite site;
  std::string error;
  ASSERT_TRUE(writePack(site.pack.c_str(),
                        {{"x.tga", bytesOf("xx")}, {"empty.bin", {}}, {"skora.tga", bytesOf("s")}},
                        error))
      << error;
  packFinished = 0;
  const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(packFinished, 1);
  EXPECT_EQ(r.written.size(), 3u);
  EXPECT_EQ(site.inside(), (std::vector<std::string>{"empty.bin", "skora.tga", "x.tga"}));
  EXPECT_EQ(readFile(site.out + "/x.tga"), bytesOf("xx"));
  EXPECT_TRUE(readFile(site.out + "/empty.bin").empty());
  EXPECT_EQ(readFile(site.out + "/skora.tga"), bytesOf("s"));
  EXPECT_EQ(site.outside(), kOnlyPackAndOut);
}

TEST(DataPack, FirstEntrySkoraIgnoresTheRest) {
  PackSite site;
  Bytes pack;
  addEntry(pack, "skora.tga", bytesOf("skin"));
  addEntry(pack, "later.tga", bytesOf("never"));
  pack.insert(pack.end(), {'/', 'x', 0, 0xFF, 0xFF});  // not an entry at all
  writeFile(site.pack, pack);
  const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(site.inside(), (std::vector<std::string>{"skora.tga"}));
}

TEST(DataPack, ExistingFileIsReplaced) {
  PackSite site;
  writeFile(site.out + "/a.tga", bytesOf("an older and longer content"));
  writeFile(site.pack, threeEntryPack());
  ASSERT_TRUE(unpackPack(site.pack.c_str(), site.out.c_str()).ok);
  EXPECT_EQ(readFile(site.out + "/a.tga"), bytesOf("alpha"));
}

TEST(DataPack, NameRule) {
  EXPECT_TRUE(isSafeEntryName("skora.tga"));
  EXPECT_TRUE(isSafeEntryName(std::string(99, 'n')));
  EXPECT_TRUE(isSafeEntryName("..hidden"));
  EXPECT_TRUE(isSafeEntryName("a..b"));
  EXPECT_TRUE(isSafeEntryName("console.tga"));
  EXPECT_TRUE(isSafeEntryName("com10.tga"));
  for (const std::string& bad :
       {std::string(),           std::string(100, 'n'),  std::string("/etc/passwd"),
        std::string("a/b"),      std::string("a\\b"),    std::string(".."),
        std::string("."),        std::string("../x"),    std::string("..\\x"),
        std::string("C:x.tga"),  std::string("a\0b", 3), std::string("x.tga:stream"),
        std::string("nul.tga"),  std::string("COM1"),    std::string("Lpt9.txt"),
        std::string("aux .tga"), std::string("a.tga."),  std::string("a.tga "),
        std::string("a|b"),      std::string("a*b"),     std::string("a\tb")}) {
    EXPECT_FALSE(isSafeEntryName(bad)) << bad;
  }
}

// Each refused name comes after a good entry, which must be removed again.
TEST(DataPack, RefusedNamesLeaveNoFiles) {
  const std::vector<std::string> badNames = {
      "",   "/abs.tga", "../up.tga", "sub/x.tga",  "a\\b",
      "..", ".",        "C:x.tga",   "..\\up.tga", std::string(100, 'n')};
  for (const std::string& bad : badNames) {
    SCOPED_TRACE("name \"" + bad + "\"");
    PackSite site;
    Bytes pack;
    addEntry(pack, "first.tga", bytesOf("1"));
    addEntry(pack, bad, bytesOf("evil"));
    addEntry(pack, "skora.tga", bytesOf("s"));
    writeFile(site.pack, pack);
    packFinished = 0;
    const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(packFinished, 0);
    EXPECT_TRUE(site.inside().empty());
    EXPECT_EQ(site.outside(), kOnlyPackAndOut);
  }
}

TEST(DataPack, NameWithoutNulWithin100Bytes) {
  PackSite site;
  Bytes pack;
  addEntry(pack, "first.tga", bytesOf("1"));
  const std::string longName(150, 'n');
  pack.insert(pack.end(), longName.begin(), longName.end());
  writeFile(site.pack, pack);
  const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("100 bytes"), std::string::npos) << r.error;
  EXPECT_TRUE(site.inside().empty());
}

// Every cut of a good pack, from nothing to one byte short, is refused and leaves the target
// folder empty.
TEST(DataPack, EveryTruncationIsRefused) {
  const Bytes full = threeEntryPack();
  for (size_t cut = 0; cut < full.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    PackSite site;
    writeFile(site.pack, Bytes(full.begin(), full.begin() + cut));
    const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(site.inside().empty());
    EXPECT_EQ(site.outside(), kOnlyPackAndOut);
  }
}

TEST(DataPack, SizeBeyondTheFileIsRefusedBeforeReading) {
  PackSite site;
  Bytes pack;
  addEntry(pack, "a.tga", bytesOf("alpha"));
  const std::string name = "huge.bin";
  pack.insert(pack.end(), name.begin(), name.end());
  pack.insert(pack.end(), {0, 0xFF, 0xFF, 0xFF, 0xFF, 'x'});
  writeFile(site.pack, pack);
  const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("ends inside the entry \"huge.bin\""), std::string::npos) << r.error;
  EXPECT_TRUE(site.inside().empty());
}

TEST(DataPack, MissingPackOrTargetFolder) {
  PackSite site;
  EXPECT_FALSE(unpackPack(site.pack.c_str(), site.out.c_str()).ok);
  writeFile(site.pack, threeEntryPack());
  const UnpackResult r = unpackPack(site.pack.c_str(), (site.out + "/absent").c_str());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("cannot create"), std::string::npos) << r.error;
}

TEST(DataPack, UncreatableFileRemovesEarlierOnes) {
  PackSite site;
  std::filesystem::create_directory(site.out + "/music.mp3");  // a folder where a file must go
  writeFile(site.pack, threeEntryPack());
  const UnpackResult r = unpackPack(site.pack.c_str(), site.out.c_str());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(site.inside(), (std::vector<std::string>{"music.mp3"}));
}

TEST(DataPack, ProgramUnpackReportsInMessageBox) {
  TempDir dir;
  dir.enter();
  FakePlatform fake;
  EXPECT_FALSE(unpackDataPack());
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0], "ERROR: data.dat: cannot open the pack");

  Bytes pack;
  addEntry(pack, "x.tga", bytesOf("content"));
  pack.resize(pack.size() - 2);
  writeFile(dir.file("data.dat"), pack);
  EXPECT_FALSE(unpackDataPack());
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_EQ(fake.boxes[1].rfind("ERROR: data.dat: the pack ends inside the entry \"x.tga\"", 0), 0u)
      << fake.boxes[1];
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"data.dat"}));

  writeFile(dir.file("data.dat"), threeEntryPack());
  EXPECT_TRUE(unpackDataPack());
  EXPECT_EQ(fake.boxes.size(), 2u);
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"a.tga", "data.dat", "music.mp3", "skora.tga"}));
}

TEST(DataPack, RemovalKeepsUnknownNamesAndSurvivesMissingFiles) {
  TempDir dir;
  dir.enter();
  // Some of the list in another letter case, some absent, plus names not on the list.
  for (const char* name : {"c00.3ds", "EX_GLOWA_NEW.3DS", "muza_final.mp3", "s_top.tga",
                           "skora.tga", "extra.tga", "data.dat"})
    writeFile(dir.file(name), bytesOf("x"));
  removeUnpackedFiles();
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"data.dat", "extra.tga"}));
  removeUnpackedFiles();  // nothing left to remove
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"data.dat", "extra.tga"}));
}

TEST(DataPack, EntryNamedLikeThePackIsRefused) {
  TempDir dir;
  dir.enter();
  Bytes pack;
  addEntry(pack, "first.tga", bytesOf("1"));
  addEntry(pack, "DATA.DAT", bytesOf("clobbered"));
  addEntry(pack, "skora.tga", bytesOf("s"));
  writeFile(dir.file("data.dat"), pack);
  for (const char* packPath : {"data.dat", "./data.dat"}) {
    const UnpackResult r = unpackPack(packPath, ".");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("overwrite the pack"), std::string::npos) << r.error;
    EXPECT_EQ(readFile(dir.file("data.dat")), pack);
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"data.dat"}));
  }
}
