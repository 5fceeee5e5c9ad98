#include "core/xmath.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Methods: argument reduction by Cody and Waite (pi/2 in parts, each product exact) for
// moderate arguments and by Payne and Hanek (the bits of 2/pi that matter, in integer
// arithmetic) for large ones or when cancellation leaves too few bits. Then Tang's table
// methods: sin and cos of j/64, and 2^(j/64) for exp, each in two parts, with short minimax
// polynomials for the remainder (scripts/gen-xmath-tables.py). The leading terms are summed
// exactly, so what reaches the result is the final rounding plus a few thousandths of a unit
// in the last place at most.

namespace refx {
namespace {

// An unevaluated sum hi + lo with |lo| <= ulp(hi).
struct DoubleLd {
  long double hi;
  long double lo;
};

#include "core/xmath_tables.inc"

constexpr long double kRoundShift = 0x3p62L;  // adding and subtracting it rounds to an integer
constexpr long double kPio4 = 0xC90FDAA22168C234p-64L;

// Error-free transformations (Knuth, Dekker, Veltkamp), exact with round-to-nearest and the
// 64-bit significand of long double.
DoubleLd two_sum(long double a, long double b) {
  const long double s = a + b;
  const long double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

DoubleLd fast_two_sum(long double a, long double b) {  // needs |a| >= |b|
  const long double s = a + b;
  return {s, b - (s - a)};
}

DoubleLd split(long double a) {  // two halves of 32 bits
  const long double c = 4294967297.0L * a;
  const long double hi = c - (c - a);
  return {hi, a - hi};
}

DoubleLd two_prod(long double a, long double b) {
  const long double p = a * b;
  const DoubleLd as = split(a);
  const DoubleLd bs = split(b);
  return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

DoubleLd dd_mul(DoubleLd a, DoubleLd b) {
  const DoubleLd p = two_prod(a.hi, b.hi);
  return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// ax = n pi/2 + r, quadrant = n mod 4.
struct Reduced {
  DoubleLd r;
  unsigned quadrant;
};

// For ax < 2^20, so that n has at most 20 bits and n times each 44-bit part is exact.
// Fails when r is so small that the rounding of the tail would show in it.
bool reduce_cody_waite(long double ax, Reduced* out) {
  const long double n = (ax * kTwoOverPi + kRoundShift) - kRoundShift;
  const long double t = ax - n * kPio2Part1;
  const DoubleLd h = two_sum(t, -(n * kPio2Part2));
  const long double tail = (h.lo - n * kPio2Part3) - n * kPio2Part4;
  const DoubleLd r = two_sum(h.hi, tail);
  if (std::fabs(r.hi) < 0x1p-50L) return false;
  out->r = r;
  out->quadrant = static_cast<unsigned>(static_cast<long>(n)) & 3u;
  return true;
}

// 64 bits of the fraction f (8 words, least significant first) starting at bit `low`.
std::uint64_t bits64(const std::uint32_t f[8], int low) {
  std::uint64_t v = 0;
  for (int b = low + 63; b >= low; --b) {
    const unsigned bit = b < 0 ? 0u : (f[b / 32] >> (b % 32)) & 1u;
    v = (v << 1) | bit;
  }
  return v;
}

// Exact reduction for any finite ax >= pi/4: ax = M 2^E with a 64-bit integer M, and
// ax * 2/pi mod 4 needs only the bits of 2/pi from index E-1 on (earlier bits add
// multiples of 4); 256 of them leave more than 190 correct bits in the fraction.
Reduced reduce_payne_hanek(long double ax) {
  int e = 0;
  const long double m = std::frexp(ax, &e);
  const std::uint64_t big_m = static_cast<std::uint64_t>(std::ldexp(m, 64));
  const int first = e - 64 - 1;  // index of the first bit of 2/pi used (bit i weighs 2^-i)
  const int pos = first + 32 * kTwoOverPiPadWords - 1;
  const int word = pos / 32;
  const int shift = pos % 32;
  std::uint32_t w[8];  // the window, least significant word first
  for (int j = 0; j < 8; ++j) {
    const std::uint32_t a = kTwoOverPiBits[word + j];
    const std::uint32_t b = kTwoOverPiBits[word + j + 1];
    w[7 - j] = shift == 0 ? a : (a << shift) | (b >> (32 - shift));
  }
  // p = M * window, binary point 254 bits above the bottom
  std::uint32_t p[10] = {};
  const std::uint32_t mw[2] = {static_cast<std::uint32_t>(big_m),
                               static_cast<std::uint32_t>(big_m >> 32)};
  for (int i = 0; i < 2; ++i) {
    std::uint64_t carry = 0;
    for (int j = 0; j < 8; ++j) {
      const std::uint64_t t = static_cast<std::uint64_t>(mw[i]) * w[j] + p[i + j] + carry;
      p[i + j] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    p[i + 8] = static_cast<std::uint32_t>(carry);
  }
  unsigned quadrant = p[7] >> 30;
  std::uint32_t f[8];
  for (int j = 0; j < 8; ++j) f[j] = p[j];
  f[7] &= 0x3FFFFFFFu;
  long double sign = 1.0L;
  if (f[7] & 0x20000000u) {  // fraction >= 1/2: take the next multiple, r negative
    ++quadrant;
    sign = -1.0L;
    std::uint64_t borrow = 1;  // f = 2^254 - f, as ~f + 1 within 254 bits
    for (int j = 0; j < 8; ++j) {
      const std::uint64_t t = static_cast<std::uint64_t>(~f[j]) + borrow;
      f[j] = static_cast<std::uint32_t>(t);
      borrow = t >> 32;
    }
    f[7] &= 0x3FFFFFFFu;
  }
  int top = 253;
  while (top >= 0 && ((f[top / 32] >> (top % 32)) & 1u) == 0) --top;
  Reduced out{{0.0L, 0.0L}, quadrant & 3u};
  if (top < 0) return out;
  const long double fh = std::ldexp(static_cast<long double>(bits64(f, top - 63)), top - 63 - 254);
  const long double fl =
      std::ldexp(static_cast<long double>(bits64(f, top - 127)), top - 127 - 254);
  const DoubleLd r = dd_mul(fast_two_sum(fh, fl), kPio2);
  out.r = {sign * r.hi, sign * r.lo};
  return out;
}

// sin and cos of r = r.hi + r.lo, |r| <= pi/4 (a hair more after reduction). With r = a + s,
// a = j/64 from the table and |s| <= 1/128, sin r = sin a + cos a s + sin a (cos s - 1) +
// cos a (sin s - s): the first two terms are summed exactly, the rest are below 2^-14 of
// the result, so their rounding hardly shows.
void sincos_kernel(DoubleLd r, long double* sin_r, long double* cos_r) {
  const bool negative = r.hi < 0;
  const long double rh = negative ? -r.hi : r.hi;
  const long double rl = negative ? -r.lo : r.lo;
  const long double jf = (rh * 64 + kRoundShift) - kRoundShift;
  const DoubleLd sa = kSinTable[static_cast<int>(jf)][0];
  const DoubleLd ca = kSinTable[static_cast<int>(jf)][1];
  const long double s = rh - jf / 64;  // exact; the whole of s is s + rl
  const long double z = s * s;
  const long double sin_s1 = s * z * (kSin0 + z * (kSin1 + z * (kSin2 + z * kSin3)));
  const long double cos_s1 = z * (kCos0 + z * (kCos1 + z * (kCos2 + z * kCos3)));
  const long double srl = s * rl;  // what rl adds to cos s - 1 (less its sign)

  const DoubleLd ca_s = two_prod(ca.hi, s);
  const DoubleLd sin_hi = two_sum(sa.hi, ca_s.hi);
  const long double sin_lo =
      ca_s.lo + (sa.lo + ca.lo * s + ca.hi * rl + sa.hi * cos_s1 + ca.hi * sin_s1 - sa.hi * srl);
  const long double sin_value = sin_hi.hi + (sin_hi.lo + sin_lo);

  const DoubleLd sa_s = two_prod(sa.hi, s);
  const DoubleLd cos_hi = two_sum(ca.hi, -sa_s.hi);
  const long double cos_lo =
      -sa_s.lo + (ca.lo - sa.lo * s - sa.hi * rl + ca.hi * cos_s1 - sa.hi * sin_s1 - ca.hi * srl);
  *cos_r = cos_hi.hi + (cos_hi.lo + cos_lo);
  *sin_r = negative ? -sin_value : sin_value;
}

}  // namespace

void xsincos(long double x, long double* sin_x, long double* cos_x) {
  const long double ax = std::fabs(x);
  if (!(ax <= std::numeric_limits<long double>::max())) {  // NaN or infinite
    *sin_x = *cos_x = x - x;
    return;
  }
  if (ax < 0x1p-33L) {  // x^2/6 is below a quarter of a unit in the last place
    *sin_x = x;
    *cos_x = 1.0L;
    return;
  }
  Reduced red{{ax, 0.0L}, 0};
  if (ax > kPio4 && (ax >= 0x1p20L || !reduce_cody_waite(ax, &red))) red = reduce_payne_hanek(ax);
  long double s = 0;
  long double c = 0;
  sincos_kernel(red.r, &s, &c);
  switch (red.quadrant) {
    case 0:
      *sin_x = s;
      *cos_x = c;
      break;
    case 1:
      *sin_x = c;
      *cos_x = -s;
      break;
    case 2:
      *sin_x = -s;
      *cos_x = -c;
      break;
    default:
      *sin_x = -c;
      *cos_x = s;
      break;
  }
  if (x < 0) *sin_x = -*sin_x;
}

long double xsin(long double x) {
  long double s = 0;
  long double c = 0;
  xsincos(x, &s, &c);
  return s;
}

long double xcos(long double x) {
  long double s = 0;
  long double c = 0;
  xsincos(x, &s, &c);
  return c;
}

long double xexp(long double x) {
  if (x != x) return x + x;
  if (x > 11357.3L) return std::numeric_limits<long double>::infinity();
  if (x < -11400.0L) return 0.0L;  // below half the smallest subnormal
  if (std::fabs(x) < 0x1p-70L) return 1.0L;

  // x = (64 k + j) ln2/64 + r, e^x = 2^k 2^(j/64) e^r
  const long double kf = (x * k64OverLn2 + kRoundShift) - kRoundShift;
  const long kj = static_cast<long>(kf);
  const int j = static_cast<int>(kj & 63);
  const long k = (kj - j) / 64;
  const DoubleLd r = two_sum(x - kf * kLn2By64Part1, -(kf * kLn2By64Part2));

  long double e = kExp5;
  e = kExp4 + r.hi * e;
  e = kExp3 + r.hi * e;
  e = kExp2 + r.hi * e;
  e = kExp1 + r.hi * e;
  e = kExp0 + r.hi * e;
  const long double q = r.lo + r.hi * r.hi * e;  // e^r - 1 = r.hi + q

  // 2^(j/64) (1 + r.hi + q), the large product exact
  const DoubleLd tab = kExp2Table[j];
  const DoubleLd prod = two_prod(tab.hi, r.hi);
  const DoubleLd s = fast_two_sum(tab.hi, prod.hi);
  const long double lo = s.lo + (prod.lo + (tab.hi * q + (tab.lo + tab.lo * (r.hi + q))));
  const DoubleLd y = fast_two_sum(s.hi, lo);

  if (k > -16382 || (k == -16382 && y.hi >= 1.0L)) {
    // normal result; the last factor overflows to infinity where it must
    if (k > 16000) return y.hi * std::ldexp(1.0L, static_cast<int>(k - 64)) * 0x1p64L;
    return y.hi * std::ldexp(1.0L, static_cast<int>(k));
  }
  // Subnormal result: round y.hi + y.lo once, to the multiples of g = 2^(-16445-k) that
  // the scaled result can hold.
  const int ki = static_cast<int>(k);
  const long double g = std::ldexp(1.0L, -16445 - ki);
  const long double shift = std::ldexp(1.0L, -16382 - ki);  // 2^63 g > y
  const long double rounded = (y.hi + shift) - shift;
  const long double d = (y.hi - rounded) + y.lo;
  long double m = rounded;
  if (d > 0.5L * g) m += g;
  if (d < -0.5L * g) m -= g;
  return m * std::ldexp(1.0L, ki + 64) * 0x1p-64L;
}

double xlog(double x) {
  if (x != x || x < 0) return (x - x) / (x - x);  // NaN
  if (x == 0) return -std::numeric_limits<double>::infinity();
  if (x > std::numeric_limits<double>::max()) return x;
  // x = 2^k m with m in [sqrt(1/2), sqrt(2)); log m = 2 atanh(s), s = (m - 1)/(m + 1), |s| < 0.172
  int k = 0;
  long double m = std::frexp(static_cast<long double>(x), &k);
  if (m < 0.70710678118654752440L) {
    m *= 2;
    --k;
  }
  const long double s = (m - 1) / (m + 1);
  const long double s2 = s * s;
  // Taylor series of atanh(s)/s to s^24: the first term left out is below 2^-65
  long double t = 1.0L / 25;
  for (int j = 23; j >= 1; j -= 2) t = 1.0L / j + s2 * t;
  const DoubleLd k_ln2 = two_prod(static_cast<long double>(k), kLn2.hi);
  return static_cast<double>(k_ln2.hi + (2 * s * t + (k_ln2.lo + k * kLn2.lo)));
}

}  // namespace refx
