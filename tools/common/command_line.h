// The command line of one demotool command, described once: its options, each bound to a field of
// the command's own settings, its positional arguments, and the --help text made from both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct Option {
  enum class Kind { Text, Number, Flag };
  const char* name;   // "--data"
  const char* value;  // what the value is called in the help ("FILE"); nullptr for a flag
  const char* help;   // one line or more, joined by '\n'; the help adds the range and default
  Kind kind;
  std::string* text = nullptr;  // Text
  uint32_t* number = nullptr;   // Number, within [low, high]
  uint64_t low = 0;
  uint64_t high = UINT32_MAX;
  bool* given = nullptr;  // set when the option appears; a Flag's own value
};

inline Option textOption(const char* name, const char* value, const char* help, std::string& field,
                         bool* given = nullptr) {
  return Option{name, value, help, Option::Kind::Text, &field, nullptr, 0, 0, given};
}
inline Option numberOption(const char* name, const char* value, const char* help, uint32_t& field,
                           uint64_t low, uint64_t high, bool* given = nullptr) {
  return Option{name, value, help, Option::Kind::Number, nullptr, &field, low, high, given};
}
inline Option flagOption(const char* name, const char* help, bool& field) {
  return Option{name, nullptr, help, Option::Kind::Flag, nullptr, nullptr, 0, 0, &field};
}

struct CommandLine {
  const char* command;  // the command's name: "demotool NAME"
  const char* summary;  // its one line in the command table
  // What may follow "demotool NAME", one usage line each; none: the options in brackets.
  std::vector<const char*> forms;
  const char* about = "";  // further paragraphs of the help, each line ending in '\n'
  std::vector<Option> options;
  size_t minArguments = 0;  // positional arguments
  size_t maxArguments = 0;
  const char* expects =
      "";  // what the arguments are, for the message when they are too few or many
};

std::string helpText(const CommandLine& line);

// Reads argv[1..argc): options into their fields, everything else into `arguments`. -1 to go on;
// otherwise the exit status, after the help (--help or -h: 0, on stdout) or one error line (1).
int parse(int argc, char** argv, const CommandLine& line, std::vector<std::string>& arguments);

// "demotool COMMAND: message" on stderr; returns the failure status 1.
int fail(const char* command, const std::string& message);

// A whole number in [low, high] with nothing else around it.
bool parseWholeNumber(const char* text, uint64_t low, uint64_t high, uint64_t& value);

}  // namespace cli
