// A pack made to hurt the unpacker: an entry far larger than any asset must be copied byte for
// byte through a small buffer, since a pack may announce 4 GiB in one entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/data_pack.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kBigEntry = 64u << 20;

// Peak resident memory of this process in kB since the last reset; -1 when the kernel does not
// tell or does not let it be reset.
long peakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = -1;
  while (status >> key) {
    if (key == "VmHWM:" && status >> value) return value;
    status.ignore(1 << 10, '\n');
  }
  return -1;
}

bool resetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  return bool(clear << "5");
}

// Block `done / 65536` of the big entry: a pattern that a lost or repeated piece would break.
std::vector<uint8_t> patternBlock(uint32_t done) {
  std::vector<uint8_t> block(1 << 16);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t((done + i) * 7 + (done >> 16));
  return block;
}

// A pack of one big entry with a byte pattern that a lost or repeated piece would break, then
// "skora.tga".
void writeBigPack(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  const char name[] = "big.bin";
  std::fwrite(name, 1, sizeof name, f);
  const uint8_t size[4] = {uint8_t(kBigEntry), uint8_t(kBigEntry >> 8), uint8_t(kBigEntry >> 16),
                           uint8_t(kBigEntry >> 24)};
  std::fwrite(size, 1, 4, f);
  for (uint32_t done = 0; done < kBigEntry; done += 1 << 16)
    std::fwrite(patternBlock(done).data(), 1, 1 << 16, f);
  std::fwrite("skora.tga\0\0\0\0\0", 1, 14, f);
  std::fclose(f);
}

TEST(HostilePack, BigEntryIsCopiedExactlyThroughASmallBuffer) {
  TempDir dir;
  writeBigPack(dir.file("pack.dat"));
  std::filesystem::create_directory(dir.file("out"));
  const bool measured = resetPeakResident();
  const long before = peakResidentKb();
  const UnpackResult result = unpackPack(dir.file("pack.dat").c_str(), dir.file("out").c_str());
  const long after = peakResidentKb();
  ASSERT_TRUE(result.ok) << result.error;

  std::ifstream out(dir.file("out/big.bin"), std::ios::binary);
  std::vector<uint8_t> block(1 << 16);
  for (uint32_t done = 0; done < kBigEntry; done += uint32_t(block.size())) {
    ASSERT_TRUE(out.read(reinterpret_cast<char*>(block.data()), block.size())) << done;
    const std::vector<uint8_t> expected = patternBlock(done);
    const auto differ = std::mismatch(block.begin(), block.end(), expected.begin()).first;
    ASSERT_TRUE(differ == block.end()) << "first wrong byte: " << done + (differ - block.begin());
  }
  EXPECT_EQ(out.peek(), EOF);
  if (measured && before > 0 && after > 0) {
    EXPECT_LT(after - before, 16 * 1024)
        << "peak resident memory grew by " << after - before << " kB while copying a 64 MiB entry";
  }
}

}  // namespace
