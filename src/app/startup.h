#pragma once
// Start-up: constants, the configuration file, and every value derived from it.
#include <cstdio>
#include <string>

#include "console/console.h"

namespace refx {

struct Program;

// Sets the constants, reads the configuration file from the current directory and
// derives the sampling quantities and plot parameter sets. Ends the run (ProgramExit)
// when the file is missing (status 1) or malformed (status 0).
void start_up(Program& p, Console& con);

// The constants set before the file is read.
void set_constants(Program& p);

// Reads lines until one does not begin with '#'. Ends the run at the end of the file.
void skip_comments(Program& p, Console& con, std::FILE* input_file, int max_length,
                   std::string& input_line);

// The accepted sampling rates and plot window sizes; anything else is a format error.
constexpr long double kMinSamplingRate = 1e-30L;
constexpr long double kMaxSamplingRate = 1e30L;
constexpr int kMinPlotWindowSize = 64;
constexpr int kMaxPlotWindowSize = 32767;

// Reads the data lines of an open configuration file.
void read_configuration(Program& p, Console& con, std::FILE* input_file);

// The values derived from the configuration, in their order.
void derive_values(Program& p);

}  // namespace refx
