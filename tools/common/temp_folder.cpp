// The private folder of a headless run, made with mkdtemp and removed recursively.
#include "tools/headless/temp_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace headless {

TempFolder::~TempFolder() {
  remove();
}

bool TempFolder::create(std::string& error) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/demotool-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) {
    error = "cannot make a temporary folder in " + std::string(base && *base ? base : "/tmp");
    return false;
  }
  path_ = buffer.data();
  return true;
}

bool TempFolder::enter(std::string& error) {
  std::error_code ec;
  const std::filesystem::path here = std::filesystem::current_path(ec);
  if (ec) {
    error = "cannot read the working directory";
    return false;
  }
  if (chdir(path_.c_str()) != 0) {
    error = "cannot enter the temporary folder " + path_;
    return false;
  }
  previousDir_ = here.string();
  return true;
}

void TempFolder::leave() {
  if (previousDir_.empty()) return;
  // Nothing sensible is left to do if the old directory vanished meanwhile; the caller's paths
  // are absolute.
  [[maybe_unused]] const int rc = chdir(previousDir_.c_str());
  previousDir_.clear();
}

void TempFolder::remove() {
  leave();
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  path_.clear();
}

}  // namespace headless
