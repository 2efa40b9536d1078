// A private temporary folder that a headless run works in: the pack is unpacked there and the
// working directory moves there, and both are undone when the folder object goes away.
#pragma once

#include <string>

namespace headless {

class TempFolder {
 public:
  TempFolder() = default;
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Makes the folder under $TMPDIR (or /tmp). False, with `error` set, when it cannot.
  bool create(std::string& error);
  // Moves the working directory into the folder; leave() or the destructor moves it back.
  bool enter(std::string& error);
  void leave();
  // Leaves the folder and removes it with everything in it.
  void remove();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previousDir_;
};

}  // namespace headless
