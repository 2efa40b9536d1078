// The asset pack "data.dat": a plain run of entries (NUL-terminated name, 32-bit little-endian
// size, content), the entry "skora.tga" last. Unpacked into loose files in the working directory at
// start; a fixed list of those files is removed at exit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct UnpackResult {
  bool ok = false;
  std::string error;                 // what is wrong with the pack, for the message box
  std::vector<std::string> written;  // files this run wrote (removed again on failure)
};

// Unpacks `packPath` into `directory`. On any failure the files this run wrote are removed again.
UnpackResult unpackPack(const char* packPath, const char* directory);

// One entry as `listPack` finds it: `offset` is where its content starts in the pack.
struct PackEntryInfo {
  std::string name;
  uint32_t size = 0;
  int64_t offset = 0;
};

// Walks `packPath` with the same rules as the unpacking, without writing anything. False with the
// reason in `error` for a pack that unpackPack would refuse.
bool listPack(const char* packPath, std::vector<PackEntryInfo>& entries, std::string& error);

// The program's unpack of "data.dat" into the working directory. On failure it shows the message
// box and returns false; the caller exits with a non-zero code.
bool unpackDataPack();
// Removes the fixed list of loose files. The caller releases the background slot first, while
// the context it was uploaded in may still be current (see closeWindow).
void removeUnpackedFiles();

// True when `name` may be written as a loose file on Linux and Windows alike: not empty, under 100
// bytes, no separator, colon or other character Windows forbids, not "." or "..", no trailing dot
// or space, and not a Windows device name (CON, NUL, COM1 and the like, with any extension).
bool isSafeEntryName(const std::string& name);

extern const char* const unpackedFileNames[18];
extern int32_t packFinished;
