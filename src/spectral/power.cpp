#include "spectral/power.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

namespace refx {
namespace {

constexpr long double kLn2 = 0.693147180559945309417232121458176568L;

bool finite_parts(long double re, long double im) {
  return std::isfinite(re) && std::isfinite(im);
}

// 10 log10 of power 2^(2e), or the floor when the power is not above zero.
long double db_of_scaled(long double power, int e, long double floor_db, float ln_10) {
  if (!(power > 0)) return floor_db;
  return 10.0L * (std::log(power) + static_cast<long double>(2 * e) * kLn2) /
         static_cast<long double>(ln_10);
}

long double db_of_plain(long double power, long double floor_db, float ln_10) {
  if (power > 0) return 10.0L * std::log(power) / static_cast<long double>(ln_10);
  return floor_db;
}

}  // namespace

ScaledParts scale_parts(long double re, long double im) {
  ScaledParts s{};
  const long double larger = std::fmax(std::fabs(re), std::fabs(im));
  std::frexp(larger, &s.e);
  s.re = std::ldexp(re, -s.e);
  s.im = std::ldexp(im, -s.e);
  s.power = s.re * s.re + s.im * s.im;
  return s;
}

bool plain_power_ok(long double re, long double im, long double power) {
  if (!finite_parts(re, im)) return true;
  if (power == 0) return re == 0 && im == 0;
  return std::isfinite(power) && power >= LDBL_MIN;
}

long double power_db(long double re, long double im, long double floor_db, float ln_10) {
  const long double power = re * re + im * im;
  if (plain_power_ok(re, im, power)) return db_of_plain(power, floor_db, ln_10);
  const ScaledParts s = scale_parts(re, im);
  return db_of_scaled(s.power, s.e, floor_db, ln_10);
}

long double mean_power_db(const long double* re, const long double* im, const long double* powers,
                          long count, long double floor_db, float ln_10) {
  bool plain = true;
  bool finite = true;
  long double sum = 0;
  for (long j = 0; j < count; ++j) {
    sum += powers[j];
    if (!finite_parts(re[j], im[j])) finite = false;
    if (!plain_power_ok(re[j], im[j], powers[j])) plain = false;
  }
  if (!finite || (plain && std::isfinite(sum))) {
    return db_of_plain(sum / static_cast<long double>(count), floor_db, ln_10);
  }
  // Every power as a scaled power times 2^(2 e_max), e_max the largest exponent.
  int e_max = INT_MIN;
  for (long j = 0; j < count; ++j)
    if (re[j] != 0 || im[j] != 0) e_max = std::max(e_max, scale_parts(re[j], im[j]).e);
  long double scaled_sum = 0;
  for (long j = 0; j < count; ++j) {
    if (re[j] == 0 && im[j] == 0) continue;
    const ScaledParts s = scale_parts(re[j], im[j]);
    scaled_sum += std::ldexp(s.power, 2 * (s.e - e_max));
  }
  return db_of_scaled(scaled_sum / static_cast<long double>(count), e_max, floor_db, ln_10);
}

long double magnitude(long double re, long double im) {
  const long double power = re * re + im * im;
  if (plain_power_ok(re, im, power)) return std::sqrt(power);
  const ScaledParts s = scale_parts(re, im);
  return std::ldexp(std::sqrt(s.power), s.e);
}

void reciprocal(long double re, long double im, long double* out_re, long double* out_im) {
  const long double power = re * re + im * im;
  if (plain_power_ok(re, im, power)) {
    *out_re = re / power;
    *out_im = -im / power;
    return;
  }
  // re / |x|^2 = (sre / scaled power) 2^-e
  const ScaledParts s = scale_parts(re, im);
  *out_re = std::ldexp(s.re / s.power, -s.e);
  *out_im = std::ldexp(-s.im / s.power, -s.e);
}

bool divide_complex(long double nre, long double nim, long double dre, long double dim,
                    long double* out_re, long double* out_im) {
  const long double power = dre * dre + dim * dim;
  if (dre == 0 && dim == 0) return false;
  if (plain_power_ok(dre, dim, power)) {
    *out_re = (nre * dre + nim * dim) / power;
    *out_im = (nim * dre - nre * dim) / power;
    return true;
  }
  // num conj(den) / |den|^2 = (num conj(sden) / scaled power) 2^-e
  const ScaledParts s = scale_parts(dre, dim);
  *out_re = std::ldexp((nre * s.re + nim * s.im) / s.power, -s.e);
  *out_im = std::ldexp((nim * s.re - nre * s.im) / s.power, -s.e);
  return true;
}

long double scale_by_ratio(long double a, long double b, long double c) {
  const long double product = a * b;
  const bool plain = !std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || c == 0 ||
                     a == 0 || b == 0 || (std::isfinite(product) && std::fabs(product) >= LDBL_MIN);
  if (plain) return product / c;
  int ea = 0, eb = 0, ec = 0;
  const long double ma = std::frexp(a, &ea);
  const long double mb = std::frexp(b, &eb);
  const long double mc = std::frexp(c, &ec);
  return std::ldexp(ma * mb / mc, ea + eb - ec);
}

}  // namespace refx
