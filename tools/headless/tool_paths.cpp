// Path helpers of the headless commands, on std::filesystem and /proc/self/exe.
#include "tools/headless/tool_paths.h"

#include <filesystem>
#include <system_error>

#include "platform/files.h"

namespace headless {

std::string defaultPackPath() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "run/data.dat";
  return (self.parent_path() / "run" / "data.dat").string();
}

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

bool prepareOutputFolder(const std::string& dir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec || !std::filesystem::is_directory(dir, ec)) {
    error = "cannot create the output folder " + dir;
    return false;
  }
  // A file made and dropped again: the name it would have replaced is never touched.
  platform::File probe = platform::File::create((dir + "/frame-000000.png").c_str());
  if (!probe.isOpen()) {
    error = "the output folder " + dir + " is not writable";
    return false;
  }
  probe.discard();
  return true;
}

}  // namespace headless
