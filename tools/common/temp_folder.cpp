// A new name is claimed with create_directory, which fails when the name exists, so two folders
// never share one; the folder is then closed to everyone but its owner.
#include "tools/common/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

TempFolder::~TempFolder() {
  remove();
}

bool TempFolder::create(const char* prefix, std::string& error) {
  std::error_code ec;
  const char* variable = std::getenv("TMPDIR");
  fs::path base = variable && *variable ? fs::path(variable) : fs::temp_directory_path(ec);
  if (ec) base = ".";
  std::random_device seed;
  std::mt19937_64 names(seed());
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < 10; ++i) name += kLetters[names() % (sizeof kLetters - 1)];
    const fs::path candidate = base / name;
    if (fs::create_directory(candidate, ec)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
      path_ = candidate.string();
      return true;
    }
    if (ec) break;  // not a name clash: the base folder is missing or closed to us
  }
  error = "cannot make a temporary folder in " + base.string();
  return false;
}

bool TempFolder::enter(std::string& error) {
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  if (ec) {
    error = "cannot read the working directory";
    return false;
  }
  fs::current_path(path_, ec);
  if (ec) {
    error = "cannot enter the temporary folder " + path_;
    return false;
  }
  if (previousDir_.empty()) previousDir_ = here.string();  // entered twice: still back to the first
  return true;
}

void TempFolder::leave() {
  if (previousDir_.empty()) return;
  // Nothing sensible is left to do if the old directory vanished meanwhile; the caller's paths
  // are absolute.
  std::error_code ec;
  fs::current_path(previousDir_, ec);
  previousDir_.clear();
}

void TempFolder::remove() {
  leave();
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove_all(path_, ec);
  path_.clear();
}
