#pragma once
// Compression (spectrum times the filter and the low-pass response) and de-compression
// (an interval of the waveform divided by them). The menu actions C and D are declared
// in rrc_actions.h; this header holds what their tests inspect.
#include "core/samples.h"

namespace refx {

struct Program;

// Loads xinr/xini with the de-compression interval of the source samples y: inclusive
// keeps the interval, exclusive everything outside it; with endpoint zero correction the
// mean of the two end points (inclusive) or of the two outside neighbours (exclusive,
// wrapping at the ends) is subtracted and kept in rrc_epzc_value.
void gather_interval(Program& p, const Samples& y);

}  // namespace refx
