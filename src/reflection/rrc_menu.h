#pragma once
#include "console/console.h"

namespace refx {

struct Program;

// The reflection removal menu: filter generation, files, low-pass filter, compression and
// de-compression. Shows only the lines whose actions are available; returns on Q.
void rrc_menu(Program& p, Console& con);

}  // namespace refx
