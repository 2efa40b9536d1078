// Unpacks the forged pack into a temporary folder that lives until the test process ends.
#include "support/forged_files.h"

#include "assets/data_pack.h"
#include "support/demotool_run.h"
#include "support/temp_dir.h"

const ForgedFiles& forgedFiles() {
  static TempDir folder;
  static ForgedFiles files;
  static bool done = false;
  if (done) return files;
  done = true;
  files.dir = folder.path();
  const std::string& pack = forgedPack();
  if (pack.empty()) {
    files.error =
        "no forged pack: DEMOTOOL is not set or no run/data.dat beside it (the build's data_pack "
        "target makes it)";
    return files;
  }
  const UnpackResult r = unpackPack(pack.c_str(), folder.path().c_str());
  files.ok = r.ok;
  files.error = r.error;
  for (const std::string& path : r.written) files.names.push_back(path.substr(path.rfind('/') + 1));
  return files;
}
