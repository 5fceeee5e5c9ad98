#pragma once
// The time waveforms menu: read, save, scale, shift, add, subtract and window the two slots.
#include "console/console.h"

namespace refx {

struct Program;

void time_waveforms_menu(Program& p, Console& con);

}  // namespace refx
