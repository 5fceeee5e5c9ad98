#pragma once
// Minimum-phase conversion by the real cepstrum.
#include "console/console.h"

namespace refx {

struct Program;

// Replaces the phase of the N-bin spectrum (N = nptst) in xinr_minp/xini_minp by the
// minimum phase of its magnitude; the result goes to xoutr_minp/xouti_minp. The input
// arrays are used as working storage. Rebuilds the twiddle tables. Magnitudes at or below
// 1e-50 are floored, and a cepstrum with an imaginary part is reported; each warning
// waits for a key and the conversion goes on.
void calc_minp(Program& p, Console& con, long double* xinr_minp, long double* xini_minp,
               long double* xoutr_minp, long double* xouti_minp);

// Wraps a phase into [-pi, pi]; exactly +-pi stays.
void transform_phase(long double* phase, long double pi);

}  // namespace refx
