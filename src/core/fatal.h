#pragma once
// Ending the program: the fatal stop and the normal end.
#include "console/console.h"

namespace refx {

struct Program;

// Thrown to end the run; main catches it and exits with the status, so that the
// platform's clean-up runs and tests can observe the end without leaving the process.
struct ProgramExit {
  int status;
};

[[noreturn]] void terminate_program();
[[noreturn]] void end_program(Program& p, Console& con);
[[noreturn]] void report_file_format_error(Program& p, Console& con);

}  // namespace refx
