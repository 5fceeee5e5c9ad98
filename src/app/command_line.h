#pragma once
// The command line of both programs: --help, --version, --script FILE [--plots DIR], or
// nothing (the interactive run). Read before the console starts, so its answers go to plain
// standard output and error.
#include <optional>
#include <string>

#include "core/build_constants.h"

namespace refx {

// Exit status after a command line that cannot be run.
constexpr int kUsageStatus = 2;

// What the arguments ask for. An option that takes a value gets a field here and one
// branch in parse_command_line that takes the next argument.
struct CommandLine {
  enum class Action { run, help, version, usage_error };
  Action action = Action::run;
  std::string refused;    // the argument that made it a usage error
  std::string problem;    // what is wrong with it, for the first line of the reply
  std::string script;     // --script FILE: run on FILE ("-" standard input); empty: interactive
  std::string plots_dir;  // --plots DIR: the plot pictures of a script run; empty: here
};

// Arguments are taken left to right; --help and --version act at once, so what follows them
// is not looked at. --script and --plots take the next argument as their value; --plots goes
// with --script. Any other argument is a usage error.
CommandLine parse_command_line(int argc, const char* const argv[]);

// "refx_lin" or "refx_win".
const char* program_name(const BuildConstants& build);
// The version, from the project's one definition in the top CMakeLists.txt.
const char* program_version();
std::string usage_text(const BuildConstants& build);

// What a non-run action prints and its exit status: help and version on standard output
// with 0, a usage error on standard error with 2.
struct CommandLineReply {
  std::string out, err;
  int status = 0;
};
CommandLineReply reply_to(const CommandLine& line, const BuildConstants& build);

// For main: prints the reply and returns the exit status when the program should end here;
// nothing when it should run (interactively, or on a script).
std::optional<int> answer_command_line(const CommandLine& line, const BuildConstants& build);

}  // namespace refx
