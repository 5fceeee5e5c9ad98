#pragma once
// The transform as a literal stage-by-stage loop, the way it was first written: the
// reference the fast plan is held against bit for bit.

namespace refx {

// Same arguments and effects as FftPlan::run, with n and nstage given and the tables passed.
void reference_fft(int for_rev, const long* n, const long* nstage, long double* xinr_fft,
                   long double* xini_fft, long double* fftr_fft, long double* ffti_fft,
                   const long double* cos_array, const long double* sin_array,
                   long double* max_mag);

// rn2 = n/2; cos_array[k] = cos(k pi / rn2), sin_array[k] = -sin(k pi / rn2), k < n/2.
void reference_twiddle_tables(long n, long double pi, long double* cos_array,
                              long double* sin_array);

}  // namespace refx
