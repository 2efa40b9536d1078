// The one line the presentation writes on stderr when a file cannot be loaded, or is read only in
// part: the file's name and the reader's reason. The program goes on with what it has.
#pragma once

#include <string>

#include "platform/platform.h"

inline void reportLoadFailure(const char* fileName, const std::string& reason) {
  platform::report((std::string(fileName ? fileName : "(no name)") + ": " + reason).c_str());
}
