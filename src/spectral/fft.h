#pragma once
// The one radix-2 self-sorting (Stockham) transform every spectral operation uses.

namespace refx {

struct TransformWork;

// for_rev: 0 forward divided by N, 1 inverse not scaled, 2 forward not scaled (any other
// value acts as 1). Reads xinr_fft/xini_fft and overwrites them (they hold the unscaled
// result on return); writes fftr_fft/ffti_fft and the largest output magnitude.
void fft(int for_rev, const long* n, const long* nstage, long double* xinr_fft,
         long double* xini_fft, long double* fftr_fft, long double* ffti_fft,
         const long double* cos_array, const long double* sin_array, long double* max_mag);

// log2 of a power of two, by doubling a counter from 1 until it reaches n.
long log2_by_doubling(long n);

// Rebuilds the twiddle tables for n points: rn2 = n/2, cos_array[k] = cos(k pi / rn2),
// sin_array[k] = -sin(k pi / rn2); also sets nstage and fft_size.
void build_twiddle_tables(TransformWork& work, long n, long double pi);

}  // namespace refx
