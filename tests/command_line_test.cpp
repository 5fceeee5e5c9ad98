// The command line of both programs: which arguments start the run, which answer and how.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace refx {
namespace {

using Action = CommandLine::Action;

// "<name> <major>.<minor>.<patch>\n"
bool is_version_line(const std::string& text, const std::string& name) {
  if (text.rfind(name + " ", 0) != 0 || text.empty() || text.back() != '\n') return false;
  std::istringstream parts(text.substr(name.size() + 1, text.size() - name.size() - 2));
  int groups = 0;
  for (std::string part; std::getline(parts, part, '.'); ++groups)
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos) return false;
  return groups == 3;
}

CommandLine parse(std::vector<const char*> args) {
  args.insert(args.begin(), "refx_lin");
  return parse_command_line(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, ArgumentsActLeftToRightAndOnlyTheTwoOptionsAreKnown) {
  struct Case {
    std::vector<const char*> args;
    Action action;
    const char* refused;
  };
  const Case cases[] = {
      {{}, Action::run, ""},
      {{"--help"}, Action::help, ""},
      {{"--version"}, Action::version, ""},
      {{"--help", "--bogus"}, Action::help, ""},  // what follows an answer is not looked at
      {{"--version", "--help"}, Action::version, ""},
      {{"--bogus", "--help"}, Action::usage_error, "--bogus"},
      {{"-h"}, Action::usage_error, "-h"},
      {{"--HELP"}, Action::usage_error, "--HELP"},
      {{"--help=yes"}, Action::usage_error, "--help=yes"},
      {{"--vers"}, Action::usage_error, "--vers"},  // no abbreviations
      {{""}, Action::usage_error, ""},
      {{"refx_lin.in"}, Action::usage_error, "refx_lin.in"},
  };
  for (const Case& c : cases) {
    const CommandLine got = parse(c.args);
    const std::string what = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(got.action, c.action) << what;
    EXPECT_EQ(got.refused, c.refused) << what;
  }
}

TEST(CommandLine, ScriptAndPlotsTakeTheNextArgument) {
  struct Case {
    std::vector<const char*> args;
    Action action;
    std::string script, plots, problem;
  } cases[] = {
      {{"--script", "run.script"}, Action::run, "run.script", "", ""},
      {{"--script", "-", "--plots", "pics"}, Action::run, "-", "pics", ""},
      {{"--plots", "pics", "--script", "a b"}, Action::run, "a b", "pics", ""},
      {{"--script", "--help"}, Action::run, "--help", "", ""},  // a value, not an option
      {{"--plots", "pics"}, Action::usage_error, "", "", "--plots goes with --script"},
      {{"--script"}, Action::usage_error, "", "", "--script needs a value"},
      {{"--script", ""}, Action::usage_error, "", "", "--script needs a value"},
      {{"--scrip", "x"}, Action::usage_error, "", "", "unknown argument '--scrip'"},
      {{"--script", "a", "b"}, Action::usage_error, "", "", "unknown argument 'b'"},
  };
  for (const Case& c : cases) {
    const CommandLine got = parse(c.args);
    EXPECT_EQ(got.action, c.action) << c.args[0];
    EXPECT_EQ(got.problem, c.problem) << c.args[0];
    if (got.action == Action::run) {
      EXPECT_EQ(got.script, c.script);
      EXPECT_EQ(got.plots_dir, c.plots);
    }
  }
  const CommandLineReply bad = reply_to(parse({"--script"}), kLinuxBuild);
  EXPECT_EQ(bad.err.rfind("refx_lin: --script needs a value\n\nUsage: refx_lin ", 0), 0u);
  EXPECT_EQ(bad.status, kUsageStatus);
}

TEST(CommandLine, RepliesGoToTheirStreamWithTheirStatus) {
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    const std::string name = program_name(*build);
    const CommandLineReply help = reply_to(parse({"--help"}), *build);
    EXPECT_TRUE(help.out == usage_text(*build) && help.err.empty() && help.status == 0);

    const CommandLineReply version = reply_to(parse({"--version"}), *build);
    EXPECT_TRUE(is_version_line(version.out, name)) << version.out;
    EXPECT_TRUE(version.err.empty() && version.status == 0);

    const CommandLineReply bad = reply_to(parse({"-x"}), *build);
    EXPECT_TRUE(bad.out.empty() && bad.status == 2);
    EXPECT_EQ(bad.err.find(name + ": unknown argument '-x'\n"), 0u) << bad.err;
    EXPECT_NE(bad.err.find(usage_text(*build)), std::string::npos);

    const CommandLineReply run = reply_to(parse({}), *build);
    EXPECT_TRUE(run.out.empty() && run.err.empty() && run.status == 0);
  }
}

// The data lines the usage text lists are as many as the shipped configuration holds, and
// the text fits a terminal of 80 columns in plain ASCII.
TEST(CommandLine, UsageListsEveryConfigurationLine) {
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    const std::string usage = usage_text(*build);
    EXPECT_EQ(usage.rfind("Usage: " + std::string(program_name(*build)) + " ", 0), 0u);
    EXPECT_NE(usage.find("reads " + std::string(build->config_file_name) + " from the current"),
              std::string::npos);

    std::ifstream example(std::string(REFX_EXAMPLES_DIR) + "/" + build->config_file_name);
    ASSERT_TRUE(example) << build->config_file_name;
    int data_lines = 0;
    for (std::string line; std::getline(example, line);) data_lines += line.rfind('#', 0) != 0;

    // Listed as "  1    ..." or, for a run of lines, "  5-8  ...".
    int last_listed = 0;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
      int first = 0, last = 0;
      if (line.rfind("  ", 0) == 0 && line.size() > 2 &&
          std::isdigit(static_cast<unsigned char>(line[2]))) {
        const int got = std::sscanf(line.c_str(), "%d-%d", &first, &last);
        last_listed = got == 2 ? last : first;
      }
      EXPECT_LE(line.size(), 80u) << line;
      for (unsigned char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << line;
    }
    EXPECT_EQ(last_listed, data_lines) << build->config_file_name;
  }
}

}  // namespace
}  // namespace refx
