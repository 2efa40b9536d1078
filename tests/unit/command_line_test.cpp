// demotool's command-line parser: options fill their fields wherever they stand among the
// arguments, every refusal is one line naming what was wrong, and the help shows each number's
// range and the default its field held.
#include "tools/common/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Settings {
  std::string data;
  std::string out = "frames";
  uint32_t fps = 60;
  uint32_t to = 17000;
  bool json = false;
};

cli::CommandLine lineFor(Settings& s) {
  return cli::CommandLine{"try",
                          "try the parser",
                          {},
                          "",
                          {cli::textOption("--data", "FILE", "the pack", s.data),
                           cli::textOption("--out", "DIR", "where", s.out),
                           cli::numberOption("--fps", "N", "rate", s.fps, 1, 1000),
                           cli::numberOption("--to", "MS", "end", s.to, 0, UINT32_MAX),
                           cli::flagOption("--json", "as JSON", s.json)},
                          1,
                          2,
                          "one or two NAMEs"};
}

int parse(std::vector<std::string> words, Settings& s, std::vector<std::string>& arguments) {
  words.insert(words.begin(), "try");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  return cli::parse(int(argv.size()), argv.data(), lineFor(s), arguments);
}

TEST(CommandLine, OptionsFillTheirFieldsAndTheRestAreArguments) {
  Settings s;
  std::vector<std::string> arguments;
  EXPECT_EQ(parse({"a", "--fps", "1000", "--json", "b", "--data", "x.dat"}, s, arguments), -1);
  EXPECT_EQ(arguments, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(s.fps, 1000u);
  EXPECT_TRUE(s.json);
  EXPECT_EQ(s.data, "x.dat");
  EXPECT_EQ(s.to, 17000u);

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"a", "--fps", "0"},
                                              {"a", "--fps", "1001"},
                                              {"a", "--fps", "6x"},
                                              {"a", "--fps", "-5"},
                                              {"a", "--to", "4294967296"},
                                              {"a", "--fps"},
                                              {"a", "--frames"},
                                              {},
                                              {"a", "b", "c"}}) {
    Settings fresh;
    std::vector<std::string> ignored;
    testing::internal::CaptureStderr();
    EXPECT_EQ(parse(bad, fresh, ignored), 1) << ::testing::PrintToString(bad);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("demotool try: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(fresh.fps, 60u) << "a refused number must leave the field as it was";
  }
}

TEST(CommandLine, HelpShowsRangesAndDefaults) {
  Settings s;
  s.to = 17500;
  const std::string help = cli::helpText(lineFor(s));
  EXPECT_EQ(
      help.rfind("usage: demotool try [--data FILE] [--out DIR] [--fps N] [--to MS] [--json]\n"
                 "\nTry the parser.\n",
                 0),
      0u)
      << help;
  EXPECT_NE(help.find("--fps N         rate (1 to 1000, default 60)\n"), std::string::npos) << help;
  EXPECT_NE(help.find("--to MS         end (default 17500)\n"), std::string::npos) << help;
  EXPECT_NE(help.find("--out DIR       where (default \"frames\")\n"), std::string::npos) << help;
  EXPECT_NE(help.find("--data FILE     the pack\n"), std::string::npos) << help;
}

}  // namespace
