// `demotool pack list|extract|create`: the asset pack seen, unpacked and made with the program's
// own reading rules, so that a pack the tool accepts is one the presentation accepts.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/asset_names.h"
#include "assets/data_pack.h"
#include "assets/pack_writer.h"
#include "tools/commands.h"
#include "tools/common/json_util.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: demotool pack list FILE\n"
    "       demotool pack extract FILE [DIR]\n"
    "       demotool pack create FILE DIR\n"
    "       demotool pack create FILE INPUT...\n"
    "\n"
    "list     print the entries as JSON: [{\"name\",\"size\",\"offset\"}, ...] in pack order\n"
    "extract  unpack into DIR (default: the working directory) as the presentation does\n"
    "create   write a pack of DIR's regular files, or of the INPUT files, in name order with\n"
    "         \"skora.tga\" (required) last\n";

int fail(const char* command, const std::string& text) {
  std::fprintf(stderr, "demotool pack %s: %s\n", command, text.c_str());
  return 1;
}

bool wantsHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return true;
  return false;
}

int listCommand(int argc, char** argv) {
  if (argc != 2) return fail("list", "expects one FILE (see 'demotool pack --help')");
  std::vector<PackEntryInfo> entries;
  std::string error;
  if (!listPack(argv[1], entries, error)) return fail("list", std::string(argv[1]) + ": " + error);
  Json out = Json::array();
  for (const PackEntryInfo& e : entries)
    out.push_back(Json{{"name", e.name}, {"size", e.size}, {"offset", e.offset}});
  printJson(out);
  return 0;
}

int extractCommand(int argc, char** argv) {
  if (argc != 2 && argc != 3) return fail("extract", "expects FILE [DIR] (see --help)");
  const char* dir = argc == 3 ? argv[2] : ".";
  const UnpackResult r = unpackPack(argv[1], dir);
  if (!r.ok) return fail("extract", std::string(argv[1]) + ": " + r.error);
  return 0;
}

bool readContent(const fs::path& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The input files: DIR's regular files, or the files named. The pack being written is left out,
// so re-running create in the packed folder does not pack the old pack.
bool gatherInputs(const fs::path& output, int argc, char** argv, std::vector<fs::path>& inputs,
                  std::string& error) {
  std::error_code ec;
  if (argc == 1 && fs::is_directory(argv[0], ec)) {
    for (const fs::directory_entry& e : fs::directory_iterator(argv[0], ec))
      if (e.is_regular_file(ec)) inputs.push_back(e.path());
    if (ec) {
      error = std::string("cannot list ") + argv[0] + ": " + ec.message();
      return false;
    }
  } else {
    for (int i = 0; i < argc; ++i) {
      if (!fs::is_regular_file(argv[i], ec)) {
        error = std::string(argv[i]) + " is not a regular file";
        return false;
      }
      inputs.push_back(argv[i]);
    }
  }
  inputs.erase(std::remove_if(inputs.begin(), inputs.end(),
                              [&](const fs::path& p) { return fs::equivalent(p, output, ec); }),
               inputs.end());
  return true;
}

// Sorted by name, "skora.tga" last: the unpacker stops there.
bool orderEntries(std::vector<PackEntry>& entries, std::string& error) {
  std::sort(entries.begin(), entries.end(), [](const PackEntry& a, const PackEntry& b) {
    const bool aLast = a.name == assetname::kSkin, bLast = b.name == assetname::kSkin;
    return aLast != bLast ? bLast : a.name < b.name;
  });
  for (size_t i = 1; i < entries.size(); ++i) {
    if (entries[i].name == entries[i - 1].name) {
      error = "two inputs are named \"" + entries[i].name + "\"";
      return false;
    }
  }
  if (entries.empty() || entries.back().name != assetname::kSkin) {
    error = "no input is named \"skora.tga\", which every pack must end with";
    return false;
  }
  return true;
}

int createCommand(int argc, char** argv) {
  if (argc < 3) return fail("create", "expects FILE and a DIR or INPUT files (see --help)");
  std::vector<fs::path> inputs;
  std::string error;
  if (!gatherInputs(argv[1], argc - 2, argv + 2, inputs, error)) return fail("create", error);
  std::vector<PackEntry> entries;
  for (const fs::path& p : inputs) {
    PackEntry e;
    e.name = p.filename().string();
    if (!isSafeEntryName(e.name))
      return fail("create", "\"" + e.name + "\" is not a name the unpacker accepts");
    if (!readContent(p, e.content)) return fail("create", "cannot read " + p.string());
    entries.push_back(std::move(e));
  }
  if (!orderEntries(entries, error) || !writePack(argv[1], entries, error))
    return fail("create", error);
  return 0;
}

}  // namespace

int runPackCommand(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("demotool pack: expects list, extract or create (try 'demotool pack --help')\n",
               stderr);
    return 1;
  }
  if (wantsHelp(argc, argv)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::string sub = argv[1];
  try {
    if (sub == "list") return listCommand(argc - 1, argv + 1);
    if (sub == "extract") return extractCommand(argc - 1, argv + 1);
    if (sub == "create") return createCommand(argc - 1, argv + 1);
  } catch (const std::exception& e) {
    return fail(sub.c_str(), e.what());
  }
  return fail(sub.c_str(), "unknown sub-command (try 'demotool pack --help')");
}
