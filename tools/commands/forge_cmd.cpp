// `demotool forge OUTDIR [--preview DIR]`: generates every asset from source, writes the loose
// files and OUTDIR/data.dat. Deterministic: fixed seeds, no time stamps.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/pack_writer.h"
#include "platform/files.h"
#include "tools/commands.h"
#include "tools/common/command_line.h"
#include "tools/forge/forge_assets.h"

namespace {

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  platform::File out = platform::File::create(path.c_str());
  return out.isOpen() && out.write(bytes.data(), bytes.size()) && out.close();
}

int fail(const std::string& message) {
  return cli::fail("forge", message);
}

bool makeDirectory(const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec || !std::filesystem::is_directory(path)) {
    error = "cannot create the folder " + path;
    return false;
  }
  return true;
}

}  // namespace

int runForgeCommand(const Command& self, int argc, char** argv) {
  std::string previewDir;
  const cli::CommandLine line{
      self.name,
      self.summary,
      {"OUTDIR [--preview DIR]"},
      "Writes the pictures, the head, the four 3DS sets and the music as loose files into OUTDIR\n"
      "and packs them into OUTDIR/data.dat. The output is byte-identical from run to run.\n",
      {cli::textOption("--preview", "DIR", "also write each picture as a PNG into DIR, to look at",
                       previewDir)},
      1,
      1,
      "one OUTDIR"};
  std::vector<std::string> args;
  const int parsed = cli::parse(argc, argv, line, args);
  if (parsed >= 0) return parsed;
  const std::string& outDir = args[0];
  std::string error;
  if (!makeDirectory(outDir, error)) return fail(error);
  if (!previewDir.empty() && !makeDirectory(previewDir, error)) return fail(error);

  const auto start = std::chrono::steady_clock::now();
  std::vector<PackEntry> entries;
  // A failed asset does not stop the others, so their loose files can still be looked at; the
  // pack is written only when every asset was made.
  std::string firstError;
  for (const assetgen::AssetMaker& maker : assetgen::assetMakers()) {
    assetgen::ForgedFile file;
    if (!maker.make(file, error)) {
      if (firstError.empty()) firstError = error;
      continue;
    }
    std::fprintf(stderr, "forge: %s %s\n", file.name.c_str(), file.summary.c_str());
    if (!writeBytes(outDir + "/" + file.name, file.bytes))
      return fail("cannot write " + outDir + "/" + file.name);
    if (!previewDir.empty() && file.preview.width > 0) {
      const std::string png = previewDir + "/" + file.name.substr(0, file.name.size() - 4) + ".png";
      if (!assetgen::writePreviewPng(file.preview, png, error)) return fail(error);
    }
    entries.push_back({file.name, std::move(file.bytes)});
  }
  if (!firstError.empty()) return fail(firstError);
  const std::string packPath = outDir + "/data.dat";
  if (!writePack(packPath.c_str(), entries, error)) return fail(error);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "forge: data.dat %zu entries in %.1f s\n", entries.size(), seconds);
  return 0;
}
