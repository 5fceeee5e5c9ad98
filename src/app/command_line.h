#pragma once
// The program's command line. Without arguments it runs interactively; --script FILE runs it
// on a script instead (FILE "-" is standard input), --plots DIR puts the plot pictures of a
// script run in DIR.
#include <string>

namespace refx {

struct CommandLine {
  std::string script;     // empty: interactive
  std::string plots_dir;  // empty: the current folder
};

// Exit status after a command line that cannot be run.
constexpr int kUsageStatus = 2;

// Reads argv into `line`. On an argument it does not know, a missing value, or --plots
// without --script, prints the usage (naming the program as `program`) on standard error
// and returns false.
bool parse_command_line(int argc, const char* const* argv, const char* program, CommandLine& line);

}  // namespace refx
