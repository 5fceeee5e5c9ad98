#pragma once
#include "console/console.h"

namespace refx {

struct Program;

// The main menu loop; leaves only through terminate_program.
[[noreturn]] void main_menu(Program& p, Console& con);

}  // namespace refx
