#pragma once
// The transform work arrays and the two FFT slots (the twiddle tables live in the plans).
#include "core/samples.h"

namespace refx {

// Program-wide scratch of every transform; no operation relies on what another left here.
struct TransformWork {
  Samples xinr{}, xini{}, fftr{}, ffti{};
  long double rn2 = 0;
  long nstage = 0;
  long fft_size = 0;
  long i_init = 0;
  long double max_fft_mag = 0;
};

struct FftSlotRef {
  int number;
  Samples& fftr;
  Samples& ffti;
  Samples& fftmag;
  Samples& fftph;
  long& num_ptsa;
};

struct FftSlots {
  Samples fftr1{}, ffti1{}, fft1mag{}, fft1ph{};
  Samples fftr2{}, ffti2{}, fft2mag{}, fft2ph{};
  long num_ptsa1 = 0, num_ptsa2 = 0;
  long n = 0;              // transform length, num_meas_points
  long double deltaf = 0;  // bin spacing, 1 / (deltat * nptst)
  float Tg = 0;            // delay removed from phase plots, seconds

  // Magnitude averaging.
  int fft_mag_avg_mode = 0;
  long fft_mag_avg_npts = 0;
  long double fft_mag_avg_frac = 0;
  long double fft_mag_avg_mult = 0;
  long double freq_cutoff_avg = 0;
  long npts_cutoff_avg = 0;
  Samples fft_mag_avg{};
  long double fft_avg_val = 0;
  long double fft_mag_avg_min_freq = 0, fft_mag_avg_max_freq = 0, fft_mag_avg_delta = 0;

  FftSlotRef slot(int ifft) {
    if (ifft == 2) return {2, fftr2, ffti2, fft2mag, fft2ph, num_ptsa2};
    return {1, fftr1, ffti1, fft1mag, fft1ph, num_ptsa1};
  }
};

}  // namespace refx
