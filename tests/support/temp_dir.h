// A private temporary folder for a test, removed with everything in it when the test ends. The
// working directory can be moved into it for the test's duration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/temp_folder.h"

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return folder_.path(); }
  std::string file(const std::string& name) const { return path() + "/" + name; }
  // Makes the folder the working directory until destruction.
  void enter();
  // Names of every entry in the folder, sorted.
  std::vector<std::string> list() const;

 private:
  TempFolder folder_;
};

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::string& path);
