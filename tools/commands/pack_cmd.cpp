// `demotool pack list|extract|create`: the asset pack seen, unpacked and made with the program's
// own reading rules, so that a pack the tool accepts is one the presentation accepts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/asset_names.h"
#include "assets/data_pack.h"
#include "assets/pack_writer.h"
#include "tools/commands.h"
#include "tools/common/command_line.h"
#include "tools/common/json_util.h"

namespace fs = std::filesystem;

namespace {

int fail(const char* command, const std::string& text) {
  return cli::fail((std::string("pack ") + command).c_str(), text);
}

int listCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) return fail("list", "expects one FILE (try 'demotool pack --help')");
  std::vector<PackEntryInfo> entries;
  std::string error;
  if (!listPack(args[0].c_str(), entries, error)) return fail("list", args[0] + ": " + error);
  Json out = Json::array();
  for (const PackEntryInfo& e : entries)
    out.push_back(Json{{"name", e.name}, {"size", e.size}, {"offset", e.offset}});
  printJson(out);
  return 0;
}

int extractCommand(const std::vector<std::string>& args) {
  if (args.size() != 1 && args.size() != 2)
    return fail("extract", "expects FILE [DIR] (try --help)");
  const char* dir = args.size() == 2 ? args[1].c_str() : ".";
  const UnpackResult r = unpackPack(args[0].c_str(), dir);
  if (!r.ok) return fail("extract", args[0] + ": " + r.error);
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
bool gatherInputs(const fs::path& output, const std::vector<std::string>& names,
                  std::vector<fs::path>& inputs, std::string& error) {
  std::error_code ec;
  if (names.size() == 1 && fs::is_directory(names[0], ec)) {
    for (const fs::directory_entry& e : fs::directory_iterator(names[0], ec))
      if (e.is_regular_file(ec)) inputs.push_back(e.path());
    if (ec) {
      error = "cannot list " + names[0] + ": " + ec.message();
      return false;
    }
  } else {
    for (const std::string& name : names) {
      if (!fs::is_regular_file(name, ec)) {
        error = name + " is not a regular file";
        return false;
      }
      inputs.push_back(name);
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

int createCommand(const std::vector<std::string>& args) {
  if (args.size() < 2) return fail("create", "expects FILE and a DIR or INPUT files (try --help)");
  std::vector<fs::path> inputs;
  std::string error;
  const std::vector<std::string> names(args.begin() + 1, args.end());
  if (!gatherInputs(args[0], names, inputs, error)) return fail("create", error);
  std::vector<PackEntry> entries;
  for (const fs::path& p : inputs) {
    PackEntry e;
    e.name = p.filename().string();
    if (!isSafeEntryName(e.name))
      return fail("create", "\"" + e.name + "\" is not a name the unpacker accepts");
    if (!readContent(p, e.content)) return fail("create", "cannot read " + p.string());
    entries.push_back(std::move(e));
  }
  if (!orderEntries(entries, error) || !writePack(args[0].c_str(), entries, error))
    return fail("create", error);
  return 0;
}

}  // namespace

int runPackCommand(const Command& self, int argc, char** argv) {
  const cli::CommandLine line{
      self.name,
      self.summary,
      {"list FILE", "extract FILE [DIR]", "create FILE DIR", "create FILE INPUT..."},
      "\n"
      "list     print the entries as JSON: [{\"name\",\"size\",\"offset\"}, ...] in pack order\n"
      "extract  unpack into DIR (default: the working directory) as the presentation does\n"
      "create   write a pack of DIR's regular files, or of the INPUT files, in name order with\n"
      "         \"skora.tga\" (required) last\n",
      {},
      1,
      SIZE_MAX,
      "list, extract or create"};
  std::vector<std::string> args;
  const int parsed = cli::parse(argc, argv, line, args);
  if (parsed >= 0) return parsed;
  const std::string sub = args.front();
  args.erase(args.begin());
  try {
    if (sub == "list") return listCommand(args);
    if (sub == "extract") return extractCommand(args);
    if (sub == "create") return createCommand(args);
  } catch (const std::exception& e) {
    return fail(sub.c_str(), e.what());
  }
  return fail(sub.c_str(), "unknown sub-command (try 'demotool pack --help')");
}
