#include "app/command_line.h"

#include <cstdio>

#ifndef REFX_VERSION
#error "REFX_VERSION comes from project(refx VERSION ...) in the top CMakeLists.txt"
#endif

namespace refx {

namespace {

CommandLine usage_error(const std::string& refused, const std::string& problem) {
  CommandLine result;
  result.action = CommandLine::Action::usage_error;
  result.refused = refused;
  result.problem = problem;
  return result;
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const argv[]) {
  CommandLine result;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    if (arg == "--help" || arg == "--version") {
      result.action = arg == "--help" ? CommandLine::Action::help : CommandLine::Action::version;
      return result;
    }
    std::string* value = arg == "--script"  ? &result.script
                         : arg == "--plots" ? &result.plots_dir
                                            : nullptr;
    if (!value) return usage_error(arg, "unknown argument '" + arg + "'");
    if (i + 1 >= argc || !argv[i + 1] || argv[i + 1][0] == '\0')
      return usage_error(arg, arg + " needs a value");
    *value = argv[++i];
  }
  if (!result.plots_dir.empty() && result.script.empty())
    return usage_error("--plots", "--plots goes with --script");
  return result;
}

const char* program_name(const BuildConstants& build) {
  return build.windows ? "refx_win" : "refx_lin";
}

const char* program_version() {
  return REFX_VERSION;
}

std::string usage_text(const BuildConstants& build) {
  const std::string name = program_name(build);
  std::string text = "Usage: " + name + " [--help | --version | --script FILE [--plots DIR]]\n\n";
  text += name +
          " is an interactive, menu-driven workbench for sampled time waveforms in\n"
          "80-bit extended precision: it reads, saves, transforms, combines and plots them,\n"
          "and removes reflections from a measured pulse with a compression filter.\n";
  text += build.windows
              ? "Its menus run in this console; its plots open in a window of their own.\n"
              : "Its menus run on this terminal; its plots open in an X11 window.\n";
  text += "\nWithout arguments it reads " + std::string(build.config_file_name) +
          " from the current directory;\n"
          "its data lines are, in this order:\n"
          "  1    the sampling rate, samples per second\n"
          "  2    the number of points per waveform, a power of two from 2 to 65536\n";
  if (build.windows)
    text +=
        "  3    the plot's foreground colour: red green blue, 0 to 255\n"
        "  4    the plot's background colour: red green blue\n"
        "  5-8  the plot area's left, right, bottom and top edges, each a divisor and a\n"
        "       multiplier of the window's width or height (8 1, 8 7, 8 7, 8 1)\n";
  else
    text +=
        "  3    the plot window's width in pixels\n"
        "  4    the plot window's height in pixels\n";
  text +=
      "Lines that begin with '#' are comments.\n"
      "\n"
      "Options:\n"
      "  --help     print this text and exit\n"
      "  --version  print the version and exit\n"
      "  --script FILE  run on the keys and typed lines of FILE (- for standard input),\n"
      "                 without a terminal or a display, plots saved as PNG pictures\n"
      "  --plots DIR    with --script: write the plot pictures into DIR\n"
      "\n";
  if (build.windows)
    text +=
        "Example data and a configuration: examples\\ in the source tree.\n"
        "The manual: the section REFX_WIN of refx_lin(1), docs/refx_lin.1 in the source\n"
        "tree.\n";
  else
    text +=
        "Example data and a configuration: share/doc/refx/examples under the installation\n"
        "prefix (/usr/share/doc/refx/examples from the Debian package), examples/ in the\n"
        "source tree. The manual: man refx_lin (docs/refx_lin.1 in the source tree).\n";
  return text;
}

CommandLineReply reply_to(const CommandLine& line, const BuildConstants& build) {
  CommandLineReply reply;
  switch (line.action) {
    case CommandLine::Action::help:
      reply.out = usage_text(build);
      break;
    case CommandLine::Action::version:
      reply.out = std::string(program_name(build)) + " " + program_version() + "\n";
      break;
    case CommandLine::Action::usage_error:
      reply.err =
          std::string(program_name(build)) + ": " + line.problem + "\n\n" + usage_text(build);
      reply.status = kUsageStatus;
      break;
    case CommandLine::Action::run:
      break;
  }
  return reply;
}

std::optional<int> answer_command_line(const CommandLine& line, const BuildConstants& build) {
  if (line.action == CommandLine::Action::run) return std::nullopt;
  const CommandLineReply reply = reply_to(line, build);
  std::fputs(reply.out.c_str(), stdout);
  std::fputs(reply.err.c_str(), stderr);
  // Help or a version that could not be written (a closed or full output) is no success.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) return 1;
  return reply.status;
}

}  // namespace refx
