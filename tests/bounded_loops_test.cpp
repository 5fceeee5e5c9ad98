// Every loop over a typed or read number ends quickly, and ordinary numbers give the results
// they always gave.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "plot/axis.h"
#include "plot/trace.h"
#include "reflection/lowpass.h"
#include "reflection/minimum_phase.h"
#include "reflection/rrc_menu.h"
#include "spectral/fft_menu.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

constexpr auto npos = std::string::npos;
const long double kPi = 3.141592653589793238462643383279502884L;

// A finite float's exact remainder modulo 360, from its integer significand and exponent.
double exact_mod_360(float x) {
  int e = 0;
  const float m = std::frexp(std::fabs(x), &e);  // |x| = m * 2^e, m in [0.5, 1)
  std::uint64_t sig = static_cast<std::uint64_t>(std::ldexp(m, 24));
  e -= 24;
  std::uint64_t r = sig % 360;
  for (; e > 0; --e) r = (r * 2) % 360;
  return x < 0 ? -static_cast<double>(r) : static_cast<double>(r);
}

double wrapped(double degrees) {
  while (degrees <= -180) degrees += 360;
  while (degrees > 180) degrees -= 360;
  return degrees;
}

// The phase plot's wrap as it always was, for phases it could handle.
float old_tg_adjust(long i, float value, long double deltaf, float Tg) {
  float p = static_cast<float>(value + static_cast<long double>(i) * 360 * deltaf * Tg);
  const long n = Round(static_cast<double>(p) / 360);
  p = static_cast<float>(p - static_cast<long double>(n) * 360);
  while (p < -180) p += 360;
  while (p > 180) p -= 360;
  return p;
}

TEST(BoundedLoops, PhasePlotWrapsHugePhasesAndLeavesOrdinaryOnesAsTheyWere) {
  for (float huge : {1e30f, -3.3e38f, 7.1e19f, 4.7e18f, -9.9e25f}) {
    const float got = tg_adjust(3, 0, huge, 1.0L, 0.0f);
    EXPECT_NEAR(got, wrapped(exact_mod_360(huge)), 1e-3) << huge;
    EXPECT_TRUE(got > -180.001f && got <= 180.0f) << huge;
  }
  // A delay so large that the shift overflows single precision still wraps.
  EXPECT_TRUE(std::fabs(tg_adjust(3, 9, 10.0f, 1e6L, 3e38f)) <= 180.0f);
  // Nothing to wrap: returned as it is, not looped on.
  EXPECT_TRUE(std::isinf(tg_adjust(3, 0, INFINITY, 1.0L, 0.0f)));
  EXPECT_TRUE(std::isnan(tg_adjust(3, 1, 1.0f, 1.0L, NAN)));
  for (float value : {-179.5f, 0.25f, 359.0f, 1e4f, -7.77e7f, 1.5e12f, 3e17f})
    for (long i : {0L, 3L, 4095L})
      for (float tg : {0.0f, 1e-4f, -2.5e-3f, 10.0f})
        EXPECT_EQ(tg_adjust(3, i, value, 256.0L, tg), old_tg_adjust(i, value, 256.0L, tg))
            << value << " " << i << " " << tg;
}

TEST(BoundedLoops, MinimumPhaseWrapOfHugePhases) {
  const auto wrap = [](long double v) { return transform_phase(&v, kPi), v; };
  // Far beyond the turns removed one at a time: the remainder, in [-pi, pi].
  EXPECT_NEAR(static_cast<double>(wrap(2 * kPi * 1e6L + 0.5L)), 0.5, 1e-9);
  EXPECT_NEAR(static_cast<double>(wrap(-2 * kPi * 3e5L - 1.25L)), -1.25, 1e-9);
  for (long double huge : {1e30L, -1e4000L, std::numeric_limits<long double>::max()}) {
    const long double w = wrap(huge);
    EXPECT_TRUE(w >= -kPi && w <= kPi) << static_cast<double>(w);
  }
  // Within the turns removed one at a time, exactly the old loops' result.
  for (long double v : {3.5L, -20.0L, 1000.125L, -25000.0L}) {
    long double old = v;
    while (old > kPi) old -= 2.0L * kPi;
    while (old < -kPi) old += 2.0L * kPi;
    EXPECT_EQ(wrap(v), old) << static_cast<double>(v);
  }
}

TEST(BoundedLoops, LowPassRatioStopsOnceItCannotChange) {
  // Orders a million times beyond any limit end at once when the product is settled.
  const long huge = 1000000000000L;
  EXPECT_TRUE(std::isinf(lpf_ratio_n(3, 1, huge)));
  EXPECT_EQ(lpf_ratio_n(1, 3, huge), 0.0L);
  EXPECT_EQ(lpf_ratio_n(0, 3, huge), 0.0L);
  EXPECT_EQ(lpf_ratio_n(5, 5, huge), 1.0L);
  // Ordinary orders: the same n products as ever.
  for (long order : {0L, 1L, 7L, 2000L})
    for (long double f : {0.999L, 1.001L, 2.5L, 100.0L}) {
      long double want = 1;
      for (long j = 0; j < order; ++j) want *= f / 1.0L;
      EXPECT_EQ(lpf_ratio_n(f, 1.0L, order), want) << order << " " << static_cast<double>(f);
    }
}

TEST(BoundedLoops, DigitalLowPassOrderIsBoundedAndButterworthKeepsItsLimit) {
  auto p = started_program(1000.0L, 4096);  // 2^26 / 4096 = 16384
  ScriptedConsole con("l16385\nk16384\n2\nq");
  rrc_menu(*p, con);
  EXPECT_NE(con.transcript().find("Error - digital filters only available for orders up to 16384\n"
                                  "Press any A/N key to continue:\n"
                                  "Enter order of lpf (positive integer):\n"),
            npos);
  EXPECT_EQ(p->rrc.n_lpf, 16384);
  EXPECT_EQ(p->rrc.use_lpf_rrc, 1);
}

TEST(BoundedLoops, IntervalRefusesAFirstPointThatLeavesNoLastPoint) {
  auto p = started_program(1000.0L, 8);
  p->rrc.rrc_filt = 1;
  ScriptedConsole con("i8\n7\n8\nq");
  rrc_menu(*p, con);
  EXPECT_NE(con.transcript().find("Enter first point of interval (starting at 1):\n"
                                  "Error - enter again:\n"
                                  "Enter last point of interval (starting at 1):\n"),
            npos);
  EXPECT_TRUE(p->rrc.n1_rrc == 7 && p->rrc.n2_rrc == 8);
}

}  // namespace
}  // namespace refx
