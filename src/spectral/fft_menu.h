#pragma once
#include "console/console.h"

namespace refx {

struct Program;

// The FFT menu: transforms, combinations, files, averaging settings and plots of the two
// FFT slots. Returns on Q.
void fft_menu(Program& p, Console& con);

// Octave fractions above this are refused: a group then spans up to 2^15 times its first
// bin, which stays within a 32-bit long for every transform length.
constexpr long double kMaxOctaveFraction = 15.0L;

// The delay removed from phase plots is held to this many turns at the sampling rate, so
// the whole turns taken off a phase always fit a 32-bit long.
constexpr long double kMaxPhaseTurns = 1e9L;
float tau_limit(const Program& p);

}  // namespace refx
