// Plain file access for the loaders and the pack. Every name is relative to the working directory
// (or absolute); when the exact name does not exist, a name in the same folder that differs only in
// letter case is used instead, so "c00.3DS" and "CZACHA.TGA" find "c00.3ds" and "czacha.tga".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class File {
 public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Only a regular file is opened: a pipe, device or folder of that name is not (a pipe would
  // block the open).
  static File openRead(const char* name);
  // Writes the file by replacing its name, since the folder may be shared: the content goes into a
  // new file of a private name in the same folder, made exclusively and without following links,
  // and close() renames it over `name`. An existing link (also to a folder, or dangling), hard
  // link, pipe or device of that name is never opened or written through. Fails when `name` is a
  // folder.
  static File create(const char* name);

  bool isOpen() const { return fd_ >= 0; }
  // Returns the number of bytes read; 0 at the end of the file or on an error.
  size_t read(void* buffer, size_t size);
  // Returns true only when every byte was written.
  bool write(const void* buffer, size_t size);
  // Moves relative to the current position; false if the position would leave [0, size].
  bool skip(int64_t distance);
  int64_t size() const;
  int64_t position() const;
  // Returns true when the file was open and closed without an error; for a created file, also that
  // every write succeeded and the name now holds the content. Otherwise a created file's content
  // is dropped and the name left as it was.
  bool close();
  // Closes without keeping anything: a created file's content is dropped, the name left as it was.
  // The destructor does the same.
  void discard();

 private:
  intptr_t fd_ = -1;     // file descriptor, or the system's file handle
  std::string pending_;  // a created file: its private name until close()
  std::string target_;   // a created file: the name close() replaces
  bool writeFailed_ = false;
};

// Reads a whole file; false (and `out` empty) if it cannot be opened or read.
bool readWholeFile(const char* name, std::vector<uint8_t>& out);
// True when the name was there and is now gone; a link is removed, never what it points at.
bool deleteFile(const char* name);
bool fileExists(const char* name);
bool setCurrentDirectory(const char* path);
std::string currentDirectory();
// The name as it exists on disk: the exact one, or the one of another letter case in the same
// folder; the name itself when neither exists.
std::string resolveName(const char* name);

}  // namespace platform
