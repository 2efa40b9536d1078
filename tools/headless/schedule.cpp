// Frame times for headless runs, and the parsing of the numbers that produce them.
#include "tools/headless/schedule.h"

#include <sstream>

#include "tools/common/command_line.h"

namespace headless {

std::vector<uint32_t> scheduleAtRate(uint32_t fps, uint32_t toMs) {
  std::vector<uint32_t> times;
  if (fps == 0) return times;
  for (uint64_t i = 0;; ++i) {
    const uint64_t t = i * 1000 / fps;
    if (t > toMs) break;
    times.push_back(uint32_t(t));
  }
  return times;
}

std::vector<uint32_t> scheduleFromDeltas(const std::vector<uint32_t>& deltas, uint32_t toMs) {
  std::vector<uint32_t> times;
  uint64_t t = 0;
  for (uint32_t d : deltas) {
    t += d;
    if (t > toMs) break;
    times.push_back(uint32_t(t));
  }
  return times;
}

bool parseDeltas(const std::string& text, std::vector<uint32_t>& deltas, std::string& error) {
  std::istringstream in(text);
  std::string line;
  for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    const size_t last = line.find_last_not_of(" \t\r");
    const std::string word = line.substr(first, last - first + 1);
    uint64_t value = 0;
    if (!cli::parseWholeNumber(word.c_str(), 0, UINT32_MAX, value)) {
      error = "line " + std::to_string(lineNumber) + " is not a whole number of milliseconds: '" +
              word.substr(0, 40) + "'";
      return false;
    }
    deltas.push_back(uint32_t(value));
  }
  return true;
}

}  // namespace headless
