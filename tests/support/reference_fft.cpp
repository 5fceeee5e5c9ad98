#include "support/reference_fft.h"

#include <cmath>

#include "core/xmath.h"

namespace refx {

void reference_fft(int for_rev, const long* n, const long* nstage, long double* xinr_fft,
                   long double* xini_fft, long double* fftr_fft, long double* ffti_fft,
                   const long double* cos_array, const long double* sin_array,
                   long double* max_mag) {
  const long npts = *n;
  const long half = npts / 2;
  const bool forward = for_rev == 0 || for_rev == 2;
  long ni = 1;
  long n2j = npts;
  for (long s = 1; s <= *nstage; ++s) {
    n2j /= 2;
    for (long l = 1; l <= ni; ++l) {
      const long in2j = n2j * (l - 1);
      const long double wr = cos_array[in2j];
      const long double wi = forward ? sin_array[in2j] : -sin_array[in2j];
      for (long ir = 0; ir < n2j; ++ir) {
        const long ia = 2 * in2j + ir;
        const long ib = ia + n2j;
        const long double tr = wr * xinr_fft[ib] - wi * xini_fft[ib];
        const long double ti = wi * xinr_fft[ib] + wr * xini_fft[ib];
        fftr_fft[in2j + ir] = xinr_fft[ia] + tr;
        ffti_fft[in2j + ir] = xini_fft[ia] + ti;
        fftr_fft[in2j + ir + half] = xinr_fft[ia] - tr;
        ffti_fft[in2j + ir + half] = xini_fft[ia] - ti;
      }
    }
    *max_mag = 0;
    for (long k = 0; k < npts; ++k) {
      xinr_fft[k] = fftr_fft[k];
      xini_fft[k] = ffti_fft[k];
      const long double mag = std::sqrt(fftr_fft[k] * fftr_fft[k] + ffti_fft[k] * ffti_fft[k]);
      if (mag > *max_mag) *max_mag = mag;
    }
    ni *= 2;
  }
  if (for_rev == 0) {
    const long double rn = static_cast<long double>(npts);
    for (long k = 0; k < npts; ++k) {
      fftr_fft[k] /= rn;
      ffti_fft[k] /= rn;
    }
    *max_mag /= rn;
  }
}

void reference_twiddle_tables(long n, long double pi, long double* cos_array,
                              long double* sin_array) {
  const long double rn2 = static_cast<long double>(n / 2);
  for (long k = 0; k < n / 2; ++k) {
    const long double angle = k * pi / rn2;
    long double s = 0;
    xsincos(angle, &s, &cos_array[k]);
    sin_array[k] = -s;
  }
}

}  // namespace refx
