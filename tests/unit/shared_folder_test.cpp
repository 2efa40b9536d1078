// Unpacking into a folder others can write to: whatever stands under an entry's name beforehand (a
// link to a file or folder outside, a dangling link, a hard link, a named pipe) is replaced, never
// written through, and a folder of that name refuses the pack. Each case goes through the program's
// start-up unpack, unpackPack and `demotool pack extract`.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/data_pack.h"
#include "assets/pack_writer.h"
#include "platform/files.h"
#include "support/demotool_run.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

enum class Trap { LinkToFile, LinkToFolder, DanglingLink, HardLink, Pipe, Folder };
enum class Way { StartUp, UnpackPack, DemotoolExtract };

const char kTrapped[] = "c00.3DS";  // the entry under whose name the trap stands
const std::vector<PackEntry> kEntries = {
    {"a.tga", bytesOf("first entry")}, {kTrapped, bytesOf("the pack's bytes")}, {"skora.tga", {}}};

// root/outside.txt and root/elsewhere/ are what the traps lead to; root/site is the working
// directory, holding data.dat and the trap.
struct Site {
  TempDir root;
  std::string site = root.file("site"), outside = root.file("outside.txt");
  std::string elsewhere = root.file("elsewhere"), trapped = site + "/" + kTrapped;
  int pipeReader = -1;

  explicit Site(Trap trap) {
    fs::create_directory(site);
    fs::create_directory(elsewhere);
    writeFile(outside, bytesOf("outside, keep"));
    std::string error;
    EXPECT_TRUE(writePack((site + "/data.dat").c_str(), kEntries, error)) << error;
    switch (trap) {
      case Trap::LinkToFile:
        fs::create_symlink(outside, trapped);
        break;
      case Trap::LinkToFolder:
        fs::create_directory_symlink(elsewhere, trapped);
        break;
      case Trap::DanglingLink:
        fs::create_symlink(root.file("missing"), trapped);
        break;
      case Trap::HardLink:
        fs::create_hard_link(outside, trapped);
        break;
      case Trap::Pipe:
        EXPECT_EQ(mkfifo(trapped.c_str(), 0644), 0);
        // With a reader present, writing into the pipe would not block: a fault shows as a pipe
        // left standing instead of a hang.
        pipeReader = ::open(trapped.c_str(), O_RDONLY | O_NONBLOCK);
        break;
      case Trap::Folder:
        fs::create_directory(trapped);
        break;
    }
  }
  ~Site() {
    if (pipeReader >= 0) ::close(pipeReader);
  }

  // Unpacks the way named; true when the pack was accepted, with the reason in `error` otherwise.
  bool unpack(Way way, std::string& error) const {
    if (way == Way::DemotoolExtract) {
      const ToolRun r = runDemotool({"pack", "extract", site + "/data.dat", site});
      error = r.err;
      return r.status == 0;
    }
    if (way == Way::UnpackPack) {
      const UnpackResult r = unpackPack((site + "/data.dat").c_str(), site.c_str());
      error = r.error;
      return r.ok;
    }
    const fs::path previous = fs::current_path();
    fs::current_path(site);
    FakePlatform fake;
    const bool ok = unpackDataPack();
    fs::current_path(previous);
    error = fake.boxes.empty() ? "" : fake.boxes[0];
    return ok;
  }

  std::vector<std::string> inSite() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(site)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

}  // namespace

TEST(SharedFolder, WhatStandsUnderAnEntryNameIsReplacedNeverWrittenThrough) {
  const struct {
    const char* what;
    Trap trap;
  } cases[] = {{"link to a file outside", Trap::LinkToFile},
               {"link to a folder outside", Trap::LinkToFolder},
               {"dangling link", Trap::DanglingLink},
               {"hard link to a file outside", Trap::HardLink},
               {"named pipe", Trap::Pipe},
               {"folder", Trap::Folder}};
  const struct {
    const char* what;
    Way way;
  } ways[] = {{"start-up", Way::StartUp},
              {"unpackPack", Way::UnpackPack},
              {"demotool pack extract", Way::DemotoolExtract}};
  for (const auto& c : cases) {
    for (const auto& w : ways) {
      SCOPED_TRACE(std::string(c.what) + " through " + w.what);
      Site s(c.trap);
      std::string error;
      const bool ok = s.unpack(w.way, error);
      EXPECT_EQ(readFile(s.outside), bytesOf("outside, keep"));
      EXPECT_TRUE(fs::is_empty(s.elsewhere));
      EXPECT_EQ(s.root.list(), (std::vector<std::string>{"elsewhere", "outside.txt", "site"}));
      if (c.trap == Trap::Folder) {
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find(kTrapped), std::string::npos) << error;
        EXPECT_EQ(s.inSite(), (std::vector<std::string>{kTrapped, "data.dat"}));
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(s.trapped)));
        continue;
      }
      EXPECT_TRUE(ok) << error;
      if (!ok) continue;
      EXPECT_EQ(s.inSite(), (std::vector<std::string>{"a.tga", kTrapped, "data.dat", "skora.tga"}));
      for (const PackEntry& e : kEntries) {
        const std::string path = s.site + "/" + e.name;
        const bool plain = fs::is_regular_file(fs::symlink_status(path));
        EXPECT_TRUE(plain) << e.name;
        if (!plain) continue;  // reading a pipe would wait for a writer
        EXPECT_EQ(fs::hard_link_count(path), 1u) << e.name;
        EXPECT_EQ(readFile(path), e.content) << e.name;
      }
    }
  }
}

// The removal at exit takes the names away; a link placed under one of them meanwhile goes, what
// it points at stays.
TEST(SharedFolder, RemovalAtExitRemovesLinksNotTheirTargets) {
  TempDir outside, dir;
  writeFile(outside.file("kept.txt"), bytesOf("kept"));
  fs::create_symlink(outside.file("kept.txt"), dir.file("skora.tga"));
  fs::create_directory_symlink(outside.path(), dir.file("mozg.tga"));
  dir.enter();
  removeUnpackedFiles();
  EXPECT_TRUE(dir.list().empty());
  EXPECT_EQ(outside.list(), (std::vector<std::string>{"kept.txt"}));
  EXPECT_EQ(readFile(outside.file("kept.txt")), bytesOf("kept"));
}

// A created file replaces its name only when closed whole; until then, and when dropped, the name
// stays as it was and nothing is left under another name.
TEST(SharedFolder, CreatedFileReplacesTheNameOnlyWhenClosed) {
  TempDir dir;
  writeFile(dir.file("x.bin"), bytesOf("old"));
  {
    platform::File f = platform::File::create(dir.file("x.bin").c_str());
    ASSERT_TRUE(f.isOpen());
    ASSERT_TRUE(f.write("new", 3));
    EXPECT_EQ(readFile(dir.file("x.bin")), bytesOf("old"));
    platform::File moved = std::move(f);
    moved.discard();
  }
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"x.bin"}));
  EXPECT_EQ(readFile(dir.file("x.bin")), bytesOf("old"));
  {
    platform::File f = platform::File::create(dir.file("x.bin").c_str());
    ASSERT_TRUE(f.write("new", 3));
  }  // never closed: dropped
  EXPECT_EQ(readFile(dir.file("x.bin")), bytesOf("old"));
  platform::File f = platform::File::create(dir.file("x.bin").c_str());
  ASSERT_TRUE(f.write("new", 3));
  EXPECT_TRUE(f.close());
  EXPECT_EQ(readFile(dir.file("x.bin")), bytesOf("new"));
  EXPECT_EQ(dir.list(), (std::vector<std::string>{"x.bin"}));
  // A pipe is never opened for reading either: without a writer the open would wait. One is held
  // open here, so that a fault shows as an opened pipe instead of a hang.
  ASSERT_EQ(mkfifo(dir.file("p").c_str(), 0644), 0);
  const int writer = ::open(dir.file("p").c_str(), O_RDWR | O_NONBLOCK);
  EXPECT_FALSE(platform::File::openRead(dir.file("p").c_str()).isOpen());
  ::close(writer);
}
