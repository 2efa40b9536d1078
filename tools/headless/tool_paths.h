// Paths the headless commands share: the default pack beside demotool, and absolute forms of the
// caller's paths (the runner moves the working directory into its private folder).
#pragma once

#include <string>

namespace headless {

// "<folder of the demotool binary>/run/data.dat", where the build puts the generated pack.
std::string defaultPackPath();

// `path` made absolute against the working directory of the moment.
std::string absolutePath(const std::string& path);

// Creates `dir` (and its parents) and checks that a file can be made in it. False with `error`.
bool prepareOutputFolder(const std::string& dir, std::string& error);

}  // namespace headless
