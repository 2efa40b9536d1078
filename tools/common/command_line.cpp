#include "tools/common/command_line.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {

constexpr size_t kHelpColumn = 18;  // where an option's description starts
constexpr size_t kLineWidth = 98;

std::string optionWithValue(const Option& o) {
  return o.value ? std::string(o.name) + " " + o.value : std::string(o.name);
}

// The options in brackets, wrapped under the first word after "usage: ".
std::string generatedForm(const CommandLine& line, size_t indent) {
  std::string form, row;
  for (const Option& o : line.options) {
    const std::string item = "[" + optionWithValue(o) + "]";
    if (!row.empty() && indent + row.size() + 1 + item.size() > kLineWidth) {
      form += row + "\n" + std::string(indent, ' ');
      row.clear();
    }
    row += (row.empty() ? "" : " ") + item;
  }
  return form + row;
}

// What the help says after an option's own text: a number's range (when it is not every 32-bit
// value) and the value the field holds before parsing, which is its default.
std::string valueNote(const Option& o) {
  if (o.kind == Option::Kind::Number) {
    std::string note = " (";
    if (o.low != 0 || o.high != UINT32_MAX)
      note += std::to_string(o.low) + " to " + std::to_string(o.high) + ", ";
    return note + "default " + std::to_string(*o.number) + ")";
  }
  if (o.kind == Option::Kind::Text && !o.text->empty()) return " (default \"" + *o.text + "\")";
  return "";
}

}  // namespace

std::string helpText(const CommandLine& line) {
  const std::string lead = std::string("demotool ") + line.command + " ";
  std::string text;
  std::vector<std::string> forms(line.forms.begin(), line.forms.end());
  if (forms.empty()) forms.push_back(generatedForm(line, 7 + lead.size()));
  for (size_t i = 0; i < forms.size(); ++i)
    text += (i == 0 ? "usage: " : "       ") + lead + forms[i] + "\n";
  std::string summary = line.summary;
  if (!summary.empty()) summary[0] = char(std::toupper(static_cast<unsigned char>(summary[0])));
  text += "\n" + summary + ".\n" + line.about;
  if (line.options.empty()) return text;
  text += "\noptions:\n";
  for (const Option& o : line.options) {
    std::string head = "  " + optionWithValue(o);
    head += head.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - head.size(), ' ')
                                           : "\n" + std::string(kHelpColumn, ' ');
    text += head;
    for (const char* c = o.help; *c; ++c) {
      text += *c;
      if (*c == '\n') text += std::string(kHelpColumn, ' ');
    }
    text += valueNote(o) + "\n";
  }
  return text;
}

int parse(int argc, char** argv, const CommandLine& line, std::vector<std::string>& arguments) {
  std::string error;
  for (int i = 1; i < argc && error.empty(); ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(helpText(line).c_str(), stdout);
      return 0;
    }
    const Option* option = nullptr;
    for (const Option& o : line.options)
      if (arg == o.name) option = &o;
    if (!option) {
      if (arg.size() > 1 && arg[0] == '-')
        error = "unknown option " + arg + " (try --help)";
      else
        arguments.push_back(arg);
      continue;
    }
    if (option->given) *option->given = true;
    if (option->kind == Option::Kind::Flag) continue;
    if (i + 1 >= argc) {
      error = arg + " needs a value";
      continue;
    }
    const char* value = argv[++i];
    if (option->kind == Option::Kind::Text) {
      *option->text = value;
      continue;
    }
    uint64_t n = 0;
    if (parseWholeNumber(value, option->low, option->high, n))
      *option->number = uint32_t(n);
    else
      error = arg + " wants a whole number from " + std::to_string(option->low) + " to " +
              std::to_string(option->high) + ", not '" + value + "'";
  }
  if (error.empty() &&
      (arguments.size() < line.minArguments || arguments.size() > line.maxArguments)) {
    if (arguments.size() > line.maxArguments && line.maxArguments == 0)
      error = "unexpected argument " + arguments.front() + " (try --help)";
    else
      error = std::string("expects ") + line.expects + " (try --help)";
  }
  if (error.empty()) return -1;
  return fail(line.command, error);
}

int fail(const char* command, const std::string& message) {
  std::fprintf(stderr, "demotool %s: %s\n", command, message.c_str());
  return 1;
}

bool parseWholeNumber(const char* text, uint64_t low, uint64_t high, uint64_t& value) {
  if (!text || *text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < low || v > high) return false;
  value = v;
  return true;
}

}  // namespace cli
