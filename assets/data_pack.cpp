// Unpacking the asset pack into loose files, and removing the fixed list of them at exit. The pack
// is streamed: every size is checked against what is left of the file before anything is
// allocated, and a pack that is refused leaves no loose file behind.
#include "assets/data_pack.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>

#include "assets/asset_names.h"
#include "gfx/little_endian.h"
#include "platform/files.h"
#include "platform/platform.h"

const char* const unpackedFileNames[18] = {
    "c00.3DS",    "c01.3DS",    "c02.3DS",     "c05.3DS",     "ex_glowa_new.3DS", "muza_final.mp3",
    "back01.tga", "czacha.tga", "loading.tga", "mozg.tga",    "s_down.tga",       "s_end.tga",
    "s_l.tga",    "s_left.tga", "s_p.tga",     "s_right.tga", "s_top.tga",        "skora.tga"};
int32_t packFinished = 0;

namespace {

constexpr size_t kNameBuffer = 100;  // 99 characters and the NUL
constexpr size_t kCopyPiece = size_t(1) << 20;
const char* const kLastEntry = assetname::kSkin;

std::string inQuotes(const std::string& name) {
  return "\"" + name + "\"";
}

// Reads the next NUL-terminated name one byte at a time, as it was written. False with the reason
// when the pack ends, or the name runs past the buffer, before the NUL.
bool readEntryName(platform::File& pack, std::string& name, std::string& error) {
  name.clear();
  for (size_t i = 0; i < kNameBuffer; ++i) {
    char c = 0;
    if (pack.read(&c, 1) != 1) {
      error = i == 0 ? "the pack ends before the entry " + inQuotes(kLastEntry)
                     : "the pack ends inside an entry name";
      return false;
    }
    if (c == '\0') return true;
    name.push_back(c);
  }
  error = "an entry name does not end within " + std::to_string(kNameBuffer) + " bytes";
  return false;
}

bool readEntrySize(platform::File& pack, const std::string& name, uint32_t& size,
                   std::string& error) {
  uint8_t b[4];
  if (pack.read(b, 4) != 4) {
    error = "the pack ends inside the entry " + inQuotes(name);
    return false;
  }
  size = loadU32Le(b);
  const int64_t left = pack.size() - pack.position();
  if (left < 0 || int64_t(size) > left) {
    error = "the pack ends inside the entry " + inQuotes(name) + " (" + std::to_string(size) +
            " bytes announced, " + std::to_string(std::max<int64_t>(left, 0)) + " left)";
    return false;
  }
  return true;
}

std::string joinPath(const char* directory, const std::string& name) {
  std::string dir = directory ? directory : "";
  if (dir.empty() || dir == ".") return name;
  if (dir.back() != '/') dir.push_back('/');
  return dir + name;
}

// The same file by name, after the letter-case fall-back: an entry named like the pack, unpacked
// beside it, would truncate the pack while it is being read.
bool samePath(const std::string& a, const std::string& b) {
  auto normal = [](const std::string& name) {
    std::string path = platform::resolveName(name.c_str());
    if (path.empty() || path[0] != '/') path = platform::currentDirectory() + "/" + path;
    return std::filesystem::path(path).lexically_normal();
  };
  return normal(a) == normal(b);
}

// Copies one entry's content into its loose file. The file replaces the name only once it is
// complete (see File::create), so a link or special file of that name is never written through,
// and `written` gains the path only then: a failure half way leaves the name as it was. The
// content goes through a buffer of at most kCopyPiece bytes: a pack may announce up to 4 GiB in
// one entry, and holding that in memory would end the program on a machine that has less.
bool copyEntry(platform::File& pack, const std::string& path, uint32_t size,
               std::vector<std::string>& written, std::string& error) {
  platform::File out = platform::File::create(path.c_str());
  if (!out.isOpen()) {
    error = "cannot create the file " + inQuotes(path);
    return false;
  }
  std::vector<uint8_t> piece(std::min<size_t>(size, kCopyPiece));
  bool wrote = true;
  for (uint32_t left = size; left > 0;) {
    const size_t n = std::min<size_t>(left, piece.size());
    if (pack.read(piece.data(), n) != n) {
      out.discard();
      error = "cannot read the entry " + inQuotes(path) + " from the pack";
      return false;
    }
    wrote = wrote && out.write(piece.data(), n);
    left -= uint32_t(n);
  }
  if (!wrote || !out.close()) {
    error = "cannot write the file " + inQuotes(path);
    return false;
  }
  if (std::find(written.begin(), written.end(), path) == written.end()) written.push_back(path);
  return true;
}

// The name and size of the next entry, both checked, leaving the pack at the entry's content.
bool readEntryHeader(platform::File& pack, std::string& name, uint32_t& size, std::string& error) {
  if (!readEntryName(pack, name, error)) return false;
  if (!isSafeEntryName(name)) {
    error = "the entry name " + inQuotes(name) + " is not a plain file name";
    return false;
  }
  return readEntrySize(pack, name, size, error);
}

bool unpackEntries(platform::File& pack, const char* packPath, const char* directory,
                   UnpackResult& result) {
  for (;;) {
    std::string name;
    uint32_t size = 0;
    if (!readEntryHeader(pack, name, size, result.error)) return false;
    const std::string path = joinPath(directory, name);
    if (samePath(path, packPath)) {
      result.error = "the entry " + inQuotes(name) + " would overwrite the pack itself";
      return false;
    }
    if (!copyEntry(pack, path, size, result.written, result.error)) return false;
    // Whatever follows the last entry is not part of the pack and is never read.
    if (name == kLastEntry) return true;
  }
}

}  // namespace

UnpackResult unpackPack(const char* packPath, const char* directory) {
  UnpackResult result;
  packFinished = 0;
  platform::File pack = platform::File::openRead(packPath);
  if (!pack.isOpen()) {
    result.error = "cannot open the pack";
    return result;
  }
  result.ok = unpackEntries(pack, packPath, directory, result);
  if (result.ok) {
    packFinished = 1;
    return result;
  }
  for (const std::string& path : result.written) platform::deleteFile(path.c_str());
  result.written.clear();
  return result;
}

bool listPack(const char* packPath, std::vector<PackEntryInfo>& entries, std::string& error) {
  entries.clear();
  platform::File pack = platform::File::openRead(packPath);
  if (!pack.isOpen()) {
    error = "cannot open the pack";
    return false;
  }
  for (;;) {
    PackEntryInfo e;
    if (!readEntryHeader(pack, e.name, e.size, error)) return false;
    e.offset = pack.position();
    if (!pack.skip(e.size)) {
      error = "cannot read the entry " + inQuotes(e.name) + " from the pack";
      return false;
    }
    entries.push_back(e);
    if (e.name == kLastEntry) return true;
  }
}

bool unpackDataPack() {
  const UnpackResult result = unpackPack("data.dat", ".");
  if (result.ok) return true;
  const std::string text = "data.dat: " + result.error;
  platform::current().messageBox(text.c_str(), "ERROR");
  return false;
}

void removeUnpackedFiles() {
  // Each name is looked up without regard to letter case; a file that is not there is passed over.
  for (const char* name : unpackedFileNames) platform::deleteFile(name);
}

namespace {

// A name that Windows takes for a device whatever its extension ("nul.tga" is NUL): writing it
// would write to the device instead of a file.
bool isDeviceName(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
      stem == "CONOUT$")
    return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '0' && stem[3] <= '9';
}

}  // namespace

bool isSafeEntryName(const std::string& name) {
  if (name.empty() || name.size() >= kNameBuffer) return false;
  if (name == "." || name == "..") return false;
  // Separators and a drive or stream colon would leave the folder; the rest is what no Windows
  // file name may hold, so that a pack unpacks alike on both systems.
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32 || std::strchr("/\\:<>\"|?*", c)) return false;
  }
  // Windows drops a trailing dot or space, which would make two entries one file.
  if (name.back() == '.' || name.back() == ' ') return false;
  return !isDeviceName(name);
}
