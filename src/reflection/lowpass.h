#pragma once
// The optional low-pass response L used by compression, de-compression and the
// stand-alone low-pass applications.
#include "console/console.h"
#include "spectral/cmplx.h"

namespace refx {

struct Program;

// Signed frequency of bin i: delf_minp times i, or i - N above the Nyquist bin.
long double bin_frequency(const Program& p, long i);

// (abs_freq / f0)^order, formed by multiplying 1 by the ratio order times.
long double lpf_ratio_n(long double abs_freq, long double f0, long order);

// Walks the digital ratio in increasing bin order: with hold, a bin above fh takes the
// ratio last recorded at or below fh (*held starts at 0); otherwise every bin its own.
long double held_lpf_ratio(const Program& p, long i, bool hold, long double fh, long double* held);

// Sampled analog Butterworth impulse response (order at most 10) scaled by delt and
// transformed forward unscaled, so bin 0 is close to 1. Uses xinr/xini and rebuilds the
// twiddle tables; reports imaginary residue in the impulse response and goes on.
void calculate_butterworth_lpf(Program& p, Console& con, long blpf_order, long double blpf_f0,
                               long double* blpf_out_re, long double* blpf_out_im);

// Fills lpfr/lpfi for the Butterworth and minimum phase digital types (nothing for the
// digital type or with the filter off). With hold, the minimum phase digital magnitudes
// hold their ratio above fh. Overwrites xinr/xini and the twiddle tables.
void prepare_lpf_response(Program& p, Console& con, bool hold, long double fh);

// L at bin i once prepared: 1 with the filter off, 1/(1 + r) for the digital type,
// lpfr/lpfi otherwise.
cmplx lpf_value(const Program& p, long i);

}  // namespace refx
