// `demotool forge OUTDIR [--preview DIR]`: generates every asset from source, writes the loose
// files and OUTDIR/data.dat. Deterministic: fixed seeds, no time stamps.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/pack_writer.h"
#include "platform/files.h"
#include "tools/commands.h"
#include "tools/forge/forge_assets.h"

namespace {

void printHelp() {
  std::printf(
      "usage: demotool forge OUTDIR [--preview DIR]\n\n"
      "Generates every asset of the presentation from source (pictures, the head, the four 3DS\n"
      "sets and the music), writes them as loose files into OUTDIR and packs them into\n"
      "OUTDIR/data.dat. The output is byte-identical from run to run.\n\n"
      "  --preview DIR   also write each picture as a PNG into DIR, to look at\n");
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  platform::File out = platform::File::create(path.c_str());
  return out.isOpen() && out.write(bytes.data(), bytes.size()) && out.close();
}

int fail(const std::string& message) {
  std::fprintf(stderr, "demotool forge: %s\n", message.c_str());
  return 1;
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

int runForgeCommand(int argc, char** argv) {
  std::string outDir, previewDir;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      printHelp();
      return 0;
    }
    if (!std::strcmp(argv[i], "--preview")) {
      if (i + 1 >= argc) return fail("--preview needs a folder");
      previewDir = argv[++i];
    } else if (argv[i][0] == '-' || !outDir.empty()) {
      return fail(std::string("unexpected argument '") + argv[i] + "' (try --help)");
    } else {
      outDir = argv[i];
    }
  }
  if (outDir.empty()) return fail("usage: demotool forge OUTDIR [--preview DIR]");
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
