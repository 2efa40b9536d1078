#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string error;
  if (!folder_.create("demo-test-", error)) ADD_FAILURE() << error;
}

TempDir::~TempDir() = default;

void TempDir::enter() {
  std::string error;
  if (!folder_.enter(error)) ADD_FAILURE() << error;
}

std::vector<std::string> TempDir::list() const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(path()))
    names.push_back(e.path().filename().string());
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
