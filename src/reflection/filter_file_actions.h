#pragma once
// The reflection removal menu's R and S actions: read or save the compression filter and
// report the outcome.
#include "console/console.h"

namespace refx {

struct Program;

// R: reads a filter file; on success the filter counts as read from a file (rrc_filt 3).
void read_filter_action(Program& p, Console& con);

// S: saves the filter with the bin spacing 1/(N*delt).
void save_filter_action(Program& p, Console& con);

}  // namespace refx
