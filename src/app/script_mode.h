#pragma once
// Script mode: the whole program, menus and numerics unchanged, run on a script instead of a
// terminal, with plots drawn in memory and written as PNG pictures. Needs no terminal and no
// display.
#include "app/command_line.h"

namespace refx {

struct Program;

// Runs the program on line.script and returns its exit status: the program's own at Q or a
// fatal stop; 2 when the script or the plot folder cannot be used; 3 when the script ran
// out first or holds a line that is not text; 4 when the program ended well but a plot
// picture could not be written.
int run_script_mode(Program& p, const CommandLine& line);

}  // namespace refx
