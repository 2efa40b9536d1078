// The loose files of the pack that `demotool forge` made (support/demotool_run.h), unpacked once
// per test process through the program's own unpacker into a private folder.
#pragma once

#include <string>
#include <vector>

struct ForgedFiles {
  bool ok = false;
  std::string error;               // why the pack could not be unpacked
  std::string dir;                 // the folder holding the loose files
  std::vector<std::string> names;  // the files the unpacker wrote, in pack order
  std::string path(const std::string& name) const { return dir + "/" + name; }
};

const ForgedFiles& forgedFiles();
