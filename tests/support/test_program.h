#pragma once
// A fresh Program started as if from a configuration file, for tests.
#include <memory>

#include "core/program.h"

namespace refx {

// sampling_rate and num_meas_points as a configuration file would give them; the rest of
// start-up (constants and derived values) runs as in the program.
std::unique_ptr<Program> started_program(long double sampling_rate = 1048576.0L,
                                         long num_meas_points = 4096,
                                         const BuildConstants& build = kLinuxBuild);

}  // namespace refx
