// Printing the commands' JSON results.
#include "tools/common/json_util.h"

#include <cstdio>

void printJson(const Json& value) {
  const std::string text = value.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}
