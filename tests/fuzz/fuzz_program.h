#pragma once
// The program a fuzz target reads into: one per build, started once per process with a
// small point count, so that short inputs reach the full-slot and full-filter paths.
#include "core/program.h"

namespace refx {

constexpr long kFuzzPoints = 64;

// i_rw_bin_ascii is set to 1 (binary) or 2 (text) before each use.
Program& fuzz_program(const BuildConstants& build, bool binary);

// Stops the target as a finding when a reader broke one of its promises.
[[noreturn]] void fuzz_finding(const char* what);

}  // namespace refx
