#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    fs::path p = fs::temp_directory_path() / ("demo-test-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p.string();
      break;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!previousDir_.empty()) fs::current_path(previousDir_, ec);
  fs::remove_all(path_, ec);
}

void TempDir::enter() {
  if (previousDir_.empty()) previousDir_ = fs::current_path().string();
  fs::current_path(path_);
}

std::vector<std::string> TempDir::list() const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
