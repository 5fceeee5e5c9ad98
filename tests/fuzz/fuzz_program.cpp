#include "fuzz_program.h"

#include <cstdio>
#include <cstdlib>

#include "support/test_program.h"

namespace refx {

Program& fuzz_program(const BuildConstants& build, bool binary) {
  static auto lin = started_program(1048576.0L, kFuzzPoints, kLinuxBuild);
  static auto win = started_program(1048576.0L, kFuzzPoints, kWindowsBuild);
  Program& p = build.windows ? *win : *lin;
  p.i_rw_bin_ascii = binary ? 1 : 2;
  return p;
}

void fuzz_finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

}  // namespace refx
