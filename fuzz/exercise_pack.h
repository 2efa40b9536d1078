// One input through the pack unpacker, as the fuzz target and the regression replay both run it.
// The pack is written into a private folder and unpacked, from a working directory inside that
// folder, into a subfolder; nothing may appear anywhere else, and a refused pack leaves nothing.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "assets/data_pack.h"

namespace fuzzcheck {

namespace fs = std::filesystem;

// root/pack.dat is the input, root/work the working directory during the unpack, root/work/out
// the folder it unpacks into. Made once per process.
struct PackSandbox {
  fs::path root, work, out, pack;
  bool ready = false;

  PackSandbox() {
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "fuzz-pack-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    root = pattern;
    work = root / "work";
    out = work / "out";
    pack = root / "pack.dat";
    ready = fs::create_directory(work, ec) && fs::create_directory(out, ec);
  }
  ~PackSandbox() {
    std::error_code ec;
    fs::remove_all(root, ec);
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

// What the unpack left: only regular files inside out, exactly those it says it wrote.
inline std::string checkUnpack(const PackSandbox& box, const UnpackResult& result, size_t size) {
  std::error_code ec;
  if (entriesOf(box.root) != std::set<std::string>{"pack.dat", "work"})
    return "something was written beside the pack";
  if (entriesOf(box.work) != std::set<std::string>{"out"})
    return "something was written into the working directory";
  if (fs::file_size(box.pack, ec) != size) return "the pack itself was changed";
  const std::set<std::string> found = entriesOf(box.out);
  if (!result.ok) return found.empty() ? "" : "a refused pack left files behind";
  std::set<std::string> foundFolded, written;
  for (const std::string& name : found) foundFolded.insert(folded(name));
  for (const std::string& path : result.written) written.insert(folded(fs::path(path).filename()));
  if (foundFolded != written) return "the files on disk are not the ones reported as written";
  for (const std::string& name : found)
    if (!fs::is_regular_file(fs::symlink_status(box.out / name, ec)))
      return "an entry became something other than a plain file";
  if (packFinished != 1) return "a finished unpack did not set packFinished";
  return "";
}

inline std::string exercisePack(const uint8_t* data, size_t size) {
  static PackSandbox box;
  if (!box.ready) return "cannot make the sandbox folder";
  if (!writeBytes(box.pack, data, size)) return "cannot write the pack into the sandbox";
  std::error_code ec;
  const fs::path previous = fs::current_path(ec);
  fs::current_path(box.work, ec);
  const UnpackResult result = unpackPack(box.pack.c_str(), "out");
  fs::current_path(previous, ec);
  std::string problem = checkUnpack(box, result, size);
  // Whatever happened, the next input starts from the same empty folders.
  for (const std::string& name : entriesOf(box.root))
    if (name != "work") fs::remove_all(box.root / name, ec);
  for (const std::string& name : entriesOf(box.work))
    if (name != "out") fs::remove_all(box.work / name, ec);
  for (const std::string& name : entriesOf(box.out)) fs::remove_all(box.out / name, ec);
  return problem;
}

}  // namespace fuzzcheck
