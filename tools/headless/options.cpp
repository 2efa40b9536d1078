#include "tools/headless/options.h"

#include <cstdio>

#include "tools/headless/schedule.h"

namespace headless {

int parseOptions(int argc, char** argv, const std::vector<Option>& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return 2;
    const Option* option = nullptr;
    for (const Option& o : options)
      if (arg == o.name) option = &o;
    if (!option) {
      error = (arg.rfind("--", 0) == 0 ? "unknown option " : "unexpected argument ") + arg +
              " (try --help)";
      return 1;
    }
    if (option->given) *option->given = true;
    if (option->kind == Option::Kind::Flag) continue;
    if (i + 1 >= argc) {
      error = arg + " needs a value";
      return 1;
    }
    const char* value = argv[++i];
    if (option->kind == Option::Kind::Text) {
      *option->text = value;
      continue;
    }
    uint64_t n = 0;
    if (!parseWholeNumber(value, option->low, option->high, n)) {
      error = arg + " wants a whole number from " + std::to_string(option->low) + " to " +
              std::to_string(option->high) + ", not '" + value + "'";
      return 1;
    }
    *option->number = uint32_t(n);
  }
  return 0;
}

int parsedStatus(int parsed, const char* tool, const char* usage, const std::string& error) {
  if (parsed == 2) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (parsed == 0) return -1;
  std::fprintf(stderr, "demotool %s: %s\n", tool, error.c_str());
  return 1;
}

}  // namespace headless
