// JSON output shared by the demotool commands: key order as inserted, and floats kept single
// precision so that each prints as the shortest text that reads back to the same 32-bit float.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, int64_t,
                                  uint64_t, float>;

// One line of JSON on stdout. Text that is not UTF-8 (a pack's entry names) is replaced, not fatal.
void printJson(const Json& value);
