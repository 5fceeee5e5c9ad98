#pragma once
// The compression filter: the reciprocal of a reference spectrum, optionally band-limited
// above fmax and optionally made minimum phase.
#include "console/console.h"
#include "core/samples.h"

namespace refx {

struct Program;

// Truncates towards zero, then moves one step away from zero when the remainder is at
// least one half in size. Held to the range of long, and 0 for NaN.
long Round_long(long double value);

// Forms the filter from the reference samples (all nptst of them) into Re_rrc_filt /
// Im_rrc_filt with the present generation settings. Returns false, with the filter and
// the band-limiting values untouched, when a bin of the reference spectrum is exactly zero.
bool form_compression_filter(Program& p, Console& con, const Samples& reference);

}  // namespace refx
