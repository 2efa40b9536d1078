// Command-line options of the headless tools: "--name value" pairs and plain flags, each bound to
// a field of the tool's own options; numbers are whole and checked against their range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

struct Option {
  enum class Kind { Text, Number, Flag };
  const char* name;
  Kind kind;
  std::string* text = nullptr;  // Text
  uint32_t* number = nullptr;   // Number, within [low, high]
  uint64_t low = 0;
  uint64_t high = UINT32_MAX;
  bool* given = nullptr;  // set when the option appears; a Flag's own value
};

inline Option textOption(const char* name, std::string& field, bool* given = nullptr) {
  return Option{name, Option::Kind::Text, &field, nullptr, 0, 0, given};
}
inline Option numberOption(const char* name, uint32_t& field, uint64_t low, uint64_t high,
                           bool* given = nullptr) {
  return Option{name, Option::Kind::Number, nullptr, &field, low, high, given};
}
inline Option flagOption(const char* name, bool& field) {
  return Option{name, Option::Kind::Flag, nullptr, nullptr, 0, 0, &field};
}

// 0 to go on, 1 after an error (one line in `error`), 2 after --help or -h.
int parseOptions(int argc, char** argv, const std::vector<Option>& options, std::string& error);

// What a tool does with the result of parsing: -1 to go on; otherwise the exit status, after the
// usage (for --help) or the error line ("demotool TOOL: error") has been printed.
int parsedStatus(int parsed, const char* tool, const char* usage, const std::string& error);

}  // namespace headless
