// A private temporary folder (a headless run's, a test's, a benchmark's, a fuzz target's): made
// under a fresh name, the working directory for a while if need be, and removed with everything in
// it, the working directory moved back first, when the object goes away.
#pragma once

#include <string>

class TempFolder {
 public:
  TempFolder() = default;
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Makes "<$TMPDIR or the system's temporary folder>/<prefix><ten random letters>", open to its
  // owner only. False, with `error` set, when it cannot.
  bool create(const char* prefix, std::string& error);
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
