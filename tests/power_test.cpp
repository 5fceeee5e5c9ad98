// |x|^2 and what is made of it where the squares overflow or underflow: dB, magnitude,
// reciprocal and quotient against a model that never forms a square of a large or small
// part (the larger part times sqrt(1 + r^2), r the ratio of the parts), and the plain
// arithmetic, bit for bit, wherever the squares are normal numbers.
#include "spectral/power.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "reflection/filter_generation.h"
#include "spectral/cmplx.h"
#include "spectral/mag_phase.h"
#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

constexpr float kLn10 = 2.3025851f;  // the program's single-precision ln 10

// ln |x| from the larger part and the ratio: no square of a part is formed.
long double model_log_magnitude(long double re, long double im) {
  const long double big = std::fmax(std::fabs(re), std::fabs(im));
  const long double r = std::fmin(std::fabs(re), std::fabs(im)) / big;
  return std::log(big) + 0.5L * std::log1p(r * r);
}

long double model_db(long double re, long double im) {
  return 20.0L * model_log_magnitude(re, im) / static_cast<long double>(kLn10);
}

// Smith's division: the quotient from the ratio of the divisor's parts.
cmplx model_quotient(cmplx a, cmplx b) {
  if (std::fabs(b.re) >= std::fabs(b.im)) {
    const long double r = b.im / b.re, d = b.re + b.im * r;
    return {(a.re + a.im * r) / d, (a.im - a.re * r) / d};
  }
  const long double r = b.re / b.im, d = b.im + b.re * r;
  return {(a.re * r + a.im) / d, (a.im * r - a.re) / d};
}

const auto close_to = [](long double got, long double want, long double rel) {
  return std::fabs(got - want) <= rel * std::fabs(want);
};

// A part of a quotient: to 1e-18 relative, or to the spacing of the subnormals, or the same
// infinity where the true value is beyond the largest number.
const auto agrees = [](long double got, long double want) {
  if (!std::isfinite(want)) return got == want;
  return close_to(got, want, 1e-18L) || std::fabs(got - want) < 1e-4900L;
};

// Parts whose squares overflow, underflow, or come near either edge, with both signs and
// a zero or a much smaller other part.
const long double kHugeAndTiny[][2] = {
    {1e3000L, 0},          {-1e3000L, 1e2999L},  {1e2500L, 1e2500L},   {3e2470L, -4e2470L},
    {1.1e2466L, 0},        {LDBL_MAX, LDBL_MAX}, {1e4000L, 1e-100L},   {1e-3000L, 0},
    {-3e-2470L, 4e-2470L}, {1e-2500L, 1e-2500L}, {0, -1e-4000L},       {1e-4940L, 0},
    {LDBL_MIN, -LDBL_MIN}, {1e-2466L, 2e-2466L}, {5e-4950L, 5e-4950L},
};

TEST(Power, HugeAndTinyPartsGiveTheModelsDbMagnitudeReciprocalAndQuotient) {
  for (const auto& x : kHugeAndTiny) {
    const long double re = x[0], im = x[1];
    SCOPED_TRACE(::testing::Message() << static_cast<double>(re) << " " << static_cast<double>(im));
    const long double db = power_db(re, im, -1000, kLn10);
    EXPECT_TRUE(std::isfinite(db));
    EXPECT_TRUE(close_to(db, model_db(re, im), 1e-17L)) << static_cast<double>(db);
    const long double mag = magnitude(re, im);
    // Beyond the largest number the magnitude is infinite; among the subnormals it is as
    // near as their spacing allows.
    const long double log_mag = model_log_magnitude(re, im);
    if (log_mag > std::log(LDBL_MAX))
      EXPECT_TRUE(std::isinf(mag));
    else if (mag < LDBL_MIN)
      EXPECT_LT(std::fabs(mag - std::exp(log_mag)), 1e-4900L);
    else
      EXPECT_TRUE(close_to(std::log(mag), log_mag, 1e-17L)) << static_cast<double>(mag);
    cmplx inv{};
    reciprocal(re, im, &inv.re, &inv.im);
    const cmplx want = model_quotient({1, 0}, {re, im});
    EXPECT_TRUE(agrees(inv.re, want.re)) << static_cast<double>(inv.re);
    EXPECT_TRUE(agrees(inv.im, want.im)) << static_cast<double>(inv.im);
    cmplx q{};
    ASSERT_TRUE(divide_complex(2, -3, re, im, &q.re, &q.im));
    const cmplx want_q = model_quotient({2, -3}, {re, im});
    EXPECT_TRUE(agrees(q.re, want_q.re)) << static_cast<double>(q.re);
    EXPECT_TRUE(agrees(q.im, want_q.im)) << static_cast<double>(q.im);
    const cmplx c = cdiv({2, -3}, {re, im});
    EXPECT_EQ(c.re, q.re);
    EXPECT_EQ(c.im, q.im);
  }
  // a b / c with a product out of range and a quotient inside it.
  EXPECT_TRUE(close_to(scale_by_ratio(1e-3000L, 1e-2000L, 1e-4000L), 1e-1000L, 1e-18L));
  EXPECT_TRUE(close_to(scale_by_ratio(-1e3000L, 1e2000L, 1e4000L), -1e1000L, 1e-18L));
  EXPECT_FALSE(divide_complex(1, 1, 0, 0, nullptr, nullptr));
}

TEST(Power, NormalSquaresKeepThePlainArithmeticBitForBit) {
  std::mt19937_64 gen(5);
  std::uniform_real_distribution<long double> mant(-1, 1);
  std::uniform_int_distribution<int> expo(-8000, 8000);
  // Parts across the range, then parts whose power lies just inside either end of it.
  std::uniform_int_distribution<int> low(-8191, -8150), high(8150, 8192);
  for (int i = 0; i < 30000; ++i) {
    auto& pick = i < 20000 ? expo : i < 25000 ? low : high;
    const long double re = std::ldexp(mant(gen), pick(gen)), im = std::ldexp(mant(gen), pick(gen));
    const long double a = std::ldexp(mant(gen), expo(gen)), b = std::ldexp(mant(gen), expo(gen));
    const long double power = re * re + im * im;
    if (!(std::isfinite(power) && power >= LDBL_MIN)) continue;
    ASSERT_EQ(power_db(re, im, -1000, kLn10), 10.0L * std::log(power) / kLn10) << i;
    ASSERT_EQ(magnitude(re, im), std::sqrt(power)) << i;
    cmplx inv{};
    reciprocal(re, im, &inv.re, &inv.im);
    ASSERT_EQ(inv.re, re / power) << i;
    ASSERT_EQ(inv.im, -im / power) << i;
    cmplx q{};
    ASSERT_TRUE(divide_complex(a, b, re, im, &q.re, &q.im));
    ASSERT_EQ(q.re, (a * re + b * im) / power) << i;
    ASSERT_EQ(q.im, (b * re - a * im) / power) << i;
    const long double product = re * im;
    if (std::isfinite(product) && std::fabs(product) >= LDBL_MIN) {
      ASSERT_EQ(scale_by_ratio(re, im, a), product / a) << i;
    }
  }
  // Zero and non-finite parts go the plain way too.
  EXPECT_EQ(power_db(0, 0, -1000, kLn10), -1000);
  EXPECT_TRUE(std::isnan(magnitude(NAN, 1)));
  EXPECT_TRUE(std::isinf(magnitude(INFINITY, 1)));
}

// A 1e3000 sample's spectrum in dB, bin by bin and averaged in groups, and the same with
// 1e-3000: 20 log10(1e3000 / N) with the program's ln 10, never "inf" or the floor.
TEST(Power, SpectrumOfAHugeOrTinySampleHasFiniteDb) {
  auto p = started_program(1024.0L, 1024);
  FftSlots& s = p->fft;
  const long n = 1024;
  for (const long double v : {1e3000L, 1e-3000L}) {
    // Bins of three sizes: (a, 0), (2a, 2a), (4a, 0) with a = v/N.
    const long double a = v / n, re[] = {a, 2 * a, 4 * a}, im[] = {0, 2 * a, 0};
    for (long k = 0; k < n; ++k) s.fftr1[k] = re[k % 3], s.ffti1[k] = im[k % 3];
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft2mag.data(),
                           s.fft2ph.data());
    s.fft_mag_avg_mode = 1, s.fft_mag_avg_npts = 3, s.npts_cutoff_avg = 512;
    calc_fft_mag_ph(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data());
    for (long k = 0; k < n; ++k) {
      const long double want = model_db(s.fftr1[k], s.ffti1[k]);
      ASSERT_TRUE(close_to(s.fft2mag[k], want, 1e-17L)) << k << " " << static_cast<double>(v);
      // A real part below 1e-50 counts as zero for the phase: +90 degrees.
      const double phase = v < 1 ? 90.0 : k % 3 == 1 ? 45.0 : 0.0;
      EXPECT_DOUBLE_EQ(static_cast<double>(s.fft2ph[k]), phase);
    }
    // Groups 1-3, 4-6, ...: powers 8 a^2, 16 a^2 and a^2, mean 25/3 a^2.
    const long double group = model_db(a, 0) + 10.0L * std::log(25.0L / 3.0L) / kLn10;
    for (long k = 1; k < 511; ++k)
      ASSERT_TRUE(close_to(s.fft1mag[k], group, 1e-17L)) << k << " " << static_cast<double>(v);
  }
}

// A reference of samples near 1e2500 or 1e-2500 gives a filter that compresses it to the
// unit impulse, as a reference of ordinary size does.
TEST(Power, FilterOfAHugeOrTinyReferenceIsItsReciprocal) {
  constexpr long kN = 256;
  for (const long double scale : {1e2500L, 1e-2500L}) {
    auto p = started_program(1048576.0L, kN);
    Samples ref{};
    for (long m = 0; m < 40; ++m) ref[m] = std::exp(-m / 9.0L) * std::cos(0.4L * m);
    ref[0] += 0.5L;
    std::vector<Cx> x = direct_dft_real(ref.data(), kN, -1);
    for (long m = 0; m < kN; ++m) ref[m] *= scale;
    ScriptedConsole con("");
    ASSERT_TRUE(form_compression_filter(*p, con, ref));
    for (long k = 0; k < kN; ++k) {
      // filter * (scale X) = 1: the filter is 1 / (scale X)
      const Cx f(p->rrc.Re_rrc_filt[k] * scale, p->rrc.Im_rrc_filt[k] * scale);
      ASSERT_LT(std::abs(f * x[k] - 1.0L), 1e-15L) << k << " " << static_cast<double>(scale);
    }
  }
}

}  // namespace
}  // namespace refx
