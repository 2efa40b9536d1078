// One input through the pack unpacker, as the fuzz target and the regression replay both run it.
// The pack is written into a private folder and unpacked, from a working directory inside that
// folder, into a subfolder; nothing may appear anywhere else, and a refused pack leaves nothing.
// The subfolder is not empty: under some likely entry names stand links, a hard link, a named pipe
// and a folder, as anyone who can write into a shared folder could place them. None of them may
// be written through or make the unpack hang.
#pragma once

#include <sys/stat.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>

#include "assets/data_pack.h"
#include "tools/common/temp_folder.h"

namespace fuzzcheck {

namespace fs = std::filesystem;

// What stands under an entry name in the target folder before the unpack.
enum class Trap { LinkToFile, HardLink, Pipe, DanglingLink, LinkToFolder, Folder };

inline const std::map<std::string, Trap>& traps() {
  static const std::map<std::string, Trap> placed = {
      {"skora.tga", Trap::LinkToFile}, {"a", Trap::HardLink},           {"a.bin", Trap::Pipe},
      {"b.bin", Trap::DanglingLink},   {"s_p.tga", Trap::LinkToFolder}, {"c.bin", Trap::Folder}};
  return placed;
}

const char kOutsideText[] = "outside, not to be written";

// root/pack.dat is the input, root/work the working directory during the unpack, root/work/out
// the folder it unpacks into; root/outside and root/elsewhere are what the traps lead to, and
// root/missing never exists. Made once per process.
struct PackSandbox {
  TempFolder folder;
  fs::path root, work, out, pack, outside, elsewhere;
  bool ready = false;

  PackSandbox() {
    std::error_code ec;
    std::string error;
    if (!folder.create("fuzz-pack-", error)) return;
    root = folder.path();
    work = root / "work";
    out = work / "out";
    pack = root / "pack.dat";
    outside = root / "outside";
    elsewhere = root / "elsewhere";
    ready = fs::create_directory(work, ec) && fs::create_directory(out, ec) &&
            fs::create_directory(elsewhere, ec);
  }
};

// The loose files match names without regard to letter case, as the system the pack was made for
// does: entries "A.bin" and "a.BIN" are one file.
inline std::string folded(std::string name) {
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

inline std::set<std::string> entriesOf(const fs::path& dir) {
  std::set<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    names.insert(it->path().filename().string());
  return names;
}

inline bool writeBytes(const fs::path& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool wrote = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && wrote;
}

inline bool placeTraps(const PackSandbox& box) {
  std::error_code ec;
  if (!writeBytes(box.outside, reinterpret_cast<const uint8_t*>(kOutsideText),
                  sizeof kOutsideText - 1))
    return false;
  for (const auto& [name, trap] : traps()) {
    const fs::path at = box.out / name;
    switch (trap) {
      case Trap::LinkToFile:
        fs::create_symlink(box.outside, at, ec);
        break;
      case Trap::HardLink:
        fs::create_hard_link(box.outside, at, ec);
        break;
      case Trap::Pipe:
        ec.assign(mkfifo(at.c_str(), 0644) == 0 ? 0 : errno, std::generic_category());
        break;
      case Trap::DanglingLink:
        fs::create_symlink(box.root / "missing", at, ec);
        break;
      case Trap::LinkToFolder:
        fs::create_directory_symlink(box.elsewhere, at, ec);
        break;
      case Trap::Folder:
        fs::create_directory(at, ec);
        break;
    }
    if (ec) return false;
  }
  return true;
}

// Whether a trap the unpack did not replace is still what was placed.
inline bool trapUntouched(const fs::path& at, Trap trap) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(at, ec);
  switch (trap) {
    case Trap::LinkToFile:
    case Trap::DanglingLink:
    case Trap::LinkToFolder:
      return fs::is_symlink(st);
    case Trap::HardLink:
      return fs::is_regular_file(st) && fs::hard_link_count(at, ec) == 2;
    case Trap::Pipe:
      return fs::is_fifo(st);
    case Trap::Folder:
      return fs::is_directory(st) && fs::is_empty(at, ec);
  }
  return false;
}

inline std::string contentOf(const fs::path& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[256];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, f)) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// What the unpack left: inside out, the files it says it wrote, each a plain file of its own, and
// the traps it did not replace as they were; outside, nothing new and nothing changed.
inline std::string checkUnpack(const PackSandbox& box, const UnpackResult& result, size_t size) {
  std::error_code ec;
  if (entriesOf(box.root) != std::set<std::string>{"elsewhere", "outside", "pack.dat", "work"})
    return "something was written beside the pack";
  if (entriesOf(box.work) != std::set<std::string>{"out"})
    return "something was written into the working directory";
  if (fs::file_size(box.pack, ec) != size) return "the pack itself was changed";
  if (contentOf(box.outside) != kOutsideText || !fs::is_empty(box.elsewhere, ec))
    return "a file outside the target folder was written through a link";
  std::set<std::string> written;
  for (const std::string& path : result.written) written.insert(folded(fs::path(path).filename()));
  std::set<std::string> foundFolded;
  for (const std::string& name : entriesOf(box.out)) {
    foundFolded.insert(folded(name));
    const fs::path at = box.out / name;
    if (written.count(folded(name))) {
      if (!fs::is_regular_file(fs::symlink_status(at, ec)) || fs::hard_link_count(at, ec) != 1)
        return "an entry became something other than a plain file of its own";
    } else if (!traps().count(name) || !trapUntouched(at, traps().at(name))) {
      return result.ok ? "a file is there that the unpack did not report as written"
                       : "a refused pack left files behind";
    }
  }
  for (const std::string& name : written)
    if (!foundFolded.count(name)) return "a file reported as written is not there";
  if (result.ok && packFinished != 1) return "a finished unpack did not set packFinished";
  return "";
}

inline std::string exercisePack(const uint8_t* data, size_t size) {
  static PackSandbox box;
  if (!box.ready) return "cannot make the sandbox folder";
  if (!writeBytes(box.pack, data, size)) return "cannot write the pack into the sandbox";
  if (!placeTraps(box)) return "cannot place the traps in the sandbox";
  std::error_code ec;
  const fs::path previous = fs::current_path(ec);
  fs::current_path(box.work, ec);
  const UnpackResult result = unpackPack(box.pack.c_str(), "out");
  fs::current_path(previous, ec);
  std::string problem = checkUnpack(box, result, size);
  // Whatever happened, the next input starts from the same empty folders (the traps are placed
  // again).
  for (const std::string& name : entriesOf(box.root))
    if (name != "work" && name != "elsewhere") fs::remove_all(box.root / name, ec);
  for (const std::string& name : entriesOf(box.work))
    if (name != "out") fs::remove_all(box.work / name, ec);
  for (const std::string& name : entriesOf(box.out)) fs::remove_all(box.out / name, ec);
  for (const std::string& name : entriesOf(box.elsewhere)) fs::remove_all(box.elsewhere / name, ec);
  return problem;
}

}  // namespace fuzzcheck
