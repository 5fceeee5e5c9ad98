#pragma once
// Time waveform files (ascii-magph text or binary-ri, chosen by i_rw_bin_ascii) and the
// read and save menus the time waveforms menu opens with R and S.
#include <string>

#include "console/console.h"
#include "waveforms/waveform_state.h"

namespace refx {

struct Program;

// Read menu: 1, 2 or B (both); Q returns. Every read leaves the slot's shift at 0,
// also when the operator quits the file-name prompt.
void readt_from_disk(Program& p, Console& con);

// Save menu: 1, 2 or B (both); Q returns.
void savet_to_disk(Program& p, Console& con);

// Prompts for a file and reads at most max_num_pts points into the slot. The slot's
// interval becomes deltat before the prompt (so also when the operator quits), then the
// difference of the file's first two times. A completed read resets truncation, shift
// and scale. A file holding a time or a value that is not a finite number is refused with
// a message and a pause, and the slot stays as it was (its interval too): false then.
bool read_time_waveform(Program& p, Console& con, SlotRef slot, long max_num_pts,
                        std::string& filename);

// Prompts for a file name and a comment, and writes the slot's num_ptst points with
// times k * deltat of the slot.
void save_time_waveform(Program& p, Console& con, SlotRef slot);

}  // namespace refx
