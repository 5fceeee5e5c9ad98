#include "spectral/mag_phase.h"

#include <cmath>

#include "core/program.h"
#include "core/worker_pool.h"
#include "spectral/power.h"

namespace refx {
namespace {

// The per-bin conversion is split over the worker pool from this many bins on.
constexpr long kParallelBins = 2048;

// Phase in degrees, in (-180, 180]; real_is_zero decides the +-90 degree case.
long double phase_degrees(long double re, long double im, bool real_is_zero, long double pi) {
  long double phi;
  if (real_is_zero) {
    phi = im >= 0 ? pi / 2.0L : -pi / 2.0L;
  } else {
    phi = std::atan(im / re);
    if (re < 0) phi += pi;
    if (phi > pi) phi -= 2.0L * pi;
  }
  return phi * 180.0L / pi;
}

// The bins' parts, for the groups whose powers overflowed or underflowed.
struct Bins {
  const long double* re;
  const long double* im;
};

// Mean power of bins jmin..jmax in dB, written over their magnitudes.
void assign_group(FftSlots& s, float ln_10, Bins bins, long jmin, long jmax, long double* fftnmag) {
  const long jnum = jmax - jmin + 1;
  if (jnum <= 0) return;
  s.fft_avg_val = mean_power_db(bins.re + jmin, bins.im + jmin, s.fft_mag_avg.data() + jmin, jnum,
                                kDbFloor, ln_10);
  for (long j = jmin; j <= jmax; ++j) fftnmag[j] = s.fft_avg_val;
}

void average_magnitudes(Program& p, long npts, Bins bins, long double* fftnmag) {
  FftSlots& s = p.fft;
  const long last_cut = s.npts_cutoff_avg - 1;
  long jmin = 1;
  long jmax;
  if (s.fft_mag_avg_mode == 1) {
    // A group of no bins would never advance; the menu keeps the count at 1 or more.
    const long group = s.fft_mag_avg_npts < 1 ? 1 : s.fft_mag_avg_npts;
    do {
      // Compared before adding, so a huge count cannot overflow the bin number.
      jmax = group - 1 > npts - 1 - jmin ? npts - 1 : jmin + group - 1;
      if (jmax < jmin) break;  // ran out of bins before the cutoff
      assign_group(s, p.ln_10, bins, jmin, jmax, fftnmag);
      jmin = jmax + 1;
    } while (jmax < last_cut);
  } else if (s.fft_mag_avg_mode == 2) {
    do {
      s.fft_mag_avg_min_freq = jmin * s.deltaf;
      s.fft_mag_avg_max_freq = s.fft_mag_avg_min_freq * s.fft_mag_avg_mult;
      s.fft_mag_avg_delta = (s.fft_mag_avg_max_freq - s.fft_mag_avg_min_freq) / s.deltaf;
      // Compared before converting, so a group wider than the bins left cannot overflow.
      const long double steps = std::trunc(s.fft_mag_avg_delta);
      if (!(steps <= static_cast<long double>(last_cut - jmin))) {
        jmax = last_cut;
      } else {
        jmax = jmin + static_cast<long>(steps);
        if (jmax > last_cut) jmax = last_cut;
      }
      assign_group(s, p.ln_10, bins, jmin, jmax, fftnmag);
      jmin = jmax + 1;
    } while (jmax < last_cut);
  }
}

}  // namespace

void calc_fft_mag_ph(Program& p, const long* npts, const long double* fftr, const long double* ffti,
                     long double* fftnmag, long double* fftnph) {
  Samples& fft_mag_avg = p.fft.fft_mag_avg;
  const float ln_10 = p.ln_10;
  const long double pi = p.pi;
  parallel_for(*npts, kParallelBins, [&](long k0, long k1, int) {
    for (long k = k0; k < k1; ++k) {
      const long double power = fftr[k] * fftr[k] + ffti[k] * ffti[k];
      fft_mag_avg[k] = power;
      fftnmag[k] = power_db(fftr[k], ffti[k], kDbFloor, ln_10);
      fftnph[k] = phase_degrees(fftr[k], ffti[k], std::fabs(fftr[k]) < 1e-50L, pi);
    }
  });
  average_magnitudes(p, *npts, Bins{fftr, ffti}, fftnmag);
}

void calc_fft_mag_ph_no_avg(Program& p, const long* npts, const long double* fftr,
                            const long double* ffti, long double* fftnmag, long double* fftnph) {
  const float ln_10 = p.ln_10;
  const long double pi = p.pi;
  parallel_for(*npts, kParallelBins, [&](long k0, long k1, int) {
    for (long k = k0; k < k1; ++k) {
      fftnmag[k] = power_db(fftr[k], ffti[k], kDbFloor, ln_10);
      // This routine tests the real part at double precision.
      const bool real_is_zero = std::fabs(static_cast<double>(fftr[k])) < 1e-50;
      fftnph[k] = phase_degrees(fftr[k], ffti[k], real_is_zero, pi);
    }
  });
}

}  // namespace refx
