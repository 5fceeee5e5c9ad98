#include "app/command_line.h"

#include <cstdio>
#include <cstring>

namespace refx {

namespace {

bool usage(const char* program, const std::string& problem) {
  std::fprintf(stderr, "%s: %s\n", program, problem.c_str());
  std::fprintf(stderr, "Usage: %s [--script FILE [--plots DIR]]\n", program);
  std::fprintf(stderr,
               "  --script FILE  run on the keys and typed lines of FILE (- for standard input)\n");
  std::fprintf(stderr, "  --plots DIR    write the plot pictures of a script run into DIR\n");
  return false;
}

}  // namespace

bool parse_command_line(int argc, const char* const* argv, const char* program, CommandLine& line) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    std::string* value = nullptr;
    if (std::strcmp(arg, "--script") == 0)
      value = &line.script;
    else if (std::strcmp(arg, "--plots") == 0)
      value = &line.plots_dir;
    else
      return usage(program, std::string("unknown argument '") + arg + "'");
    if (i + 1 >= argc || argv[i + 1][0] == '\0')
      return usage(program, std::string(arg) + " needs a value");
    *value = argv[++i];
  }
  if (!line.plots_dir.empty() && line.script.empty())
    return usage(program, "--plots goes with --script");
  return true;
}

}  // namespace refx
