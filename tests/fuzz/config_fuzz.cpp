// The configuration file, read as each build reads its own and followed by the values
// start-up derives from it.
#include <cstdio>

#include "app/startup.h"
#include "core/fatal.h"
#include "fuzz_console.h"
#include "fuzz_input.h"
#include "fuzz_program.h"

namespace refx {
namespace {

void read_as(const BuildConstants& build, const std::string& path) {
  static auto program = make_program();
  Program& p = *program;
  p.build = &build;
  set_constants(p);
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) fuzz_finding("input file did not open");
  FuzzConsole con("", {});
  try {
    read_configuration(p, con, file);
  } catch (const ProgramExit&) {
    std::fclose(file);
    return;  // a refused file ends the run, as it should
  }
  std::fclose(file);
  const long n = p.num_meas_points;
  if (n < 2 || n > kMaxPoints || (n & (n - 1)) != 0)
    fuzz_finding("point count accepted that is not a power of two in range");
  derive_values(p);
}

}  // namespace
}  // namespace refx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = refx::write_fuzz_input(data, size);
  refx::read_as(refx::kLinuxBuild, path);
  refx::read_as(refx::kWindowsBuild, path);
  return 0;
}
