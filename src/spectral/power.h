#pragma once
// |x|^2 = re^2 + im^2 and what is made of it (dB, magnitude, reciprocal, quotient), right
// also where the squares overflow (parts near 1e2466 and up) or underflow (near 1e-2466
// and below). Where the plain sum is a normal number, or both parts are zero, the plain
// arithmetic is used unchanged, so those results keep their bits; only the other cases
// scale both parts by a power of two first. Parts that are not finite take the plain path.

namespace refx {

// re = sre 2^e and im = sim 2^e with the larger part in [1/2, 1): the scaled power
// sre^2 + sim^2 lies in [1/4, 2), and |x|^2 = power 2^(2e).
struct ScaledParts {
  long double re;
  long double im;
  long double power;
  int e;
};
ScaledParts scale_parts(long double re, long double im);

// The plain power re*re + im*im can be used as it is.
bool plain_power_ok(long double re, long double im, long double power);

// 10 log10 |x|^2 in dB, the floor when x is zero; ln_10 is the program's constant.
long double power_db(long double re, long double im, long double floor_db, float ln_10);

// 10 log10 of the mean of count powers; powers[j] is the plain power of (re[j], im[j]).
long double mean_power_db(const long double* re, const long double* im, const long double* powers,
                          long count, long double floor_db, float ln_10);

// sqrt(re^2 + im^2).
long double magnitude(long double re, long double im);

// 1/x as (re/|x|^2, -im/|x|^2); the caller has refused x = 0.
void reciprocal(long double re, long double im, long double* out_re, long double* out_im);

// num/den as (num * conj(den))/|den|^2; false when den is exactly zero.
bool divide_complex(long double nre, long double nim, long double dre, long double dim,
                    long double* out_re, long double* out_im);

// a * b / c, the product scaled where it would overflow or underflow.
long double scale_by_ratio(long double a, long double b, long double c);

}  // namespace refx
