// Compression filter generation: the reciprocal, the band limiting above fmax with both
// phase-extension methods, the minimum-phase option and the refusal of a zero bin.
#include "reflection/filter_generation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "reflection/rrc_actions.h"
#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

// A power-of-two rate keeps the bin spacing (1024 Hz) and the Nyquist frequency exact.
constexpr long double kRate = 1048576.0L;
constexpr long kN = 1024;
constexpr long double kDf = 1024.0L;
constexpr long double kPi = 3.14159265358979323851L;

// Generates the filter from waveform 2, after two refused numbers: a decaying oscillation
// with noise, whose phase wanders over the band. Its truncation does not apply.
std::unique_ptr<Program> generated(unsigned seed, int method = 1, long double fmax = 0,
                                   long double factor = 1) {
  auto p = started_program(kRate, kN);
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (long m = 0; m < 300; ++m)
    p->wf.y2a[m] = std::exp(-m / 40.0L) * (std::cos(0.21L * m) + 0.3L * u(gen));
  p->wf.y2a[0] += 0.5L;
  p->wf.i_truncatet2 = 10;
  p->rrc.enable_fmax_rrc_compress = fmax > 0, p->rrc.fmax_rrc_compress = fmax;
  p->rrc.i_constant_phase_slope = method, p->rrc.phase_comp_fmax_compress = factor;
  // Stale values of an earlier generation must not be used.
  p->rrc.del_om_fmax_compress = 123, p->rrc.om_save_fmax_rrc_compress = 5;
  p->rrc.i_save_fmax_rrc_compress = 7, p->rrc.sign_om_tot_fmax_rrc_compress = 0;
  ScriptedConsole con("0\n3\n2\nk");
  generate_filter(*p, con);
  EXPECT_EQ(con.transcript(),
            "Enter waveform number to generate filter (1 or 2):\n"
            "Error - enter again:\nError - enter again:\n"
            "Compression filter has been generated\nPress any A/N key to continue\n");
  return p;
}

const auto filt = [](const Program& p, long k) {
  return Cx(p.rrc.Re_rrc_filt[k], p.rrc.Im_rrc_filt[k]);
};

const auto wrapped = [](long double d) { return std::remainder(d, 2.0L * kPi); };

TEST(FilterGeneration, PlainFilterIsTheReciprocalOfTheWholeUnscaledSpectrum) {
  auto p = generated(1);
  EXPECT_EQ(p->rrc.rrc_filt, 2);
  std::vector<Cx> x = direct_dft_real(p->wf.y2a.data(), kN, -1);
  for (long k = 0; k < kN; ++k) ASSERT_LT(std::abs(filt(*p, k) * x[k] - 1.0L), 1e-15L) << k;
}

TEST(FilterGeneration, ZeroBinIsRefusedAndLeavesTheFilterAsItWas) {
  auto p = started_program(kRate, kN);
  for (long k = 0; k < kN; ++k) p->rrc.Re_rrc_filt[k] = 0.25L * k, p->rrc.Im_rrc_filt[k] = -1;
  auto before = std::make_unique<Reflection>(p->rrc);
  p->rrc.rrc_filt = 3;
  p->wf.y2a[0] = p->wf.y2a[1] = 1;  // [1, 1, 0, ...]: only the Nyquist bin is exactly 0
  ScriptedConsole con("2\nk");
  generate_filter(*p, con);
  EXPECT_EQ(con.transcript(),
            "Enter waveform number to generate filter (1 or 2):\n"
            "Error - reference spectrum has a zero bin\n"
            "Error -- compression filter was not generated\nPress any A/N key to continue\n");
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_EQ(p->rrc.rrc_filt, 3);
  EXPECT_TRUE(p->rrc.Re_rrc_filt == before->Re_rrc_filt &&
              p->rrc.Im_rrc_filt == before->Im_rrc_filt);
}

TEST(FilterGeneration, FmaxAtOrAboveNyquistLeavesThePlainReciprocal) {
  auto plain = generated(3);
  for (int method : {0, 1})
    for (long double fmax : {kRate / 2, 1e12L}) {
      auto p = generated(3, method, fmax);
      EXPECT_EQ(p->rrc.i_trans_fmax_compress, 0);
      EXPECT_TRUE(p->rrc.Re_rrc_filt == plain->rrc.Re_rrc_filt &&
                  p->rrc.Im_rrc_filt == plain->rrc.Im_rrc_filt);
    }
}

TEST(FilterGeneration, ReplacedBinsHoldTheMagnitudeWithTheirOwnOrALinearPhase) {
  // {seed, method, transition bin, steps below it, compensation factor}: maintain phase;
  // constant slope over the default 100 steps with and without a factor, over fewer steps
  // than asked, and over none at all (a line from the real DC bin that ends at zero).
  struct Case {
    unsigned seed;
    int method;
    long kt, steps;
    long double factor;
  } cases[] = {{4, 0, 201, 0, 1},
               {5, 1, 201, 100, 1},
               {5, 1, 201, 100, 0.7L},
               {6, 1, 51, 50, 1},
               {7, 1, 1, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.seed << " " << static_cast<double>(c.factor));
    auto plain = generated(c.seed);
    auto p = generated(c.seed, c.method, (c.kt - 1) * kDf + 500, c.factor);
    const Cx last = filt(*plain, c.kt - 1);
    const long double held = std::abs(last);
    EXPECT_NEAR(static_cast<double>(p->rrc.save_mag_fmax_compress / held), 1, 1e-18);
    for (long k = 0; k < c.kt; ++k) ASSERT_EQ(filt(*p, k), filt(*plain, k)) << k;
    for (long k = c.kt; k <= kN / 2; ++k)
      ASSERT_NEAR(static_cast<double>(std::abs(filt(*p, k)) / held), 1.0, 1e-15) << k;
    for (long k = kN / 2 + 1; k < kN; ++k)
      ASSERT_LE(std::abs(filt(*p, k) - std::conj(filt(*p, kN - k))), 1e-15L * held) << k;
    if (c.method == 0) {
      for (long k = c.kt; k <= kN / 2; ++k)
        ASSERT_NEAR(static_cast<double>(wrapped(std::arg(filt(*p, k) / filt(*plain, k)))), 0,
                    1e-15);
      continue;
    }
    // The line worked out from the plain filter: the mean wrapped step times the factor,
    // rescaled to meet n_tot pi at the Nyquist bin; it starts at the phase of bin kt - 1,
    // taken in (-pi/2, 3pi/2).
    long double sum = 0;
    for (long j = c.kt - 1 - c.steps; j < c.kt - 1; ++j)
      sum += wrapped(std::arg(filt(*plain, j + 1)) - std::arg(filt(*plain, j)));
    const long double del0 = c.steps > 0 ? c.factor * sum / c.steps : 0;
    const long double om_save = std::atan(last.imag() / last.real()) + (last.real() < 0 ? kPi : 0);
    const long double om_tot = om_save + del0 * (kN / 2 - c.kt + 1);
    const long n_tot = std::lround(om_tot / kPi);
    const long double del = om_tot == 0 ? del0 : del0 * n_tot * (kPi / om_tot);
    EXPECT_EQ(c.kt == 1, om_tot == 0);
    EXPECT_NEAR(static_cast<double>(p->rrc.del_om_fmax_compress), static_cast<double>(del), 1e-15);
    for (long k = c.kt; k < kN / 2; ++k)
      ASSERT_LT(std::fabs(wrapped(std::arg(filt(*p, k)) - om_save - del * (k - c.kt + 1))), 1e-13L);
    EXPECT_EQ(p->rrc.Im_rrc_filt[kN / 2], 0.0L);  // real, with the sign of cos(n_tot pi)
    EXPECT_EQ(p->rrc.Re_rrc_filt[kN / 2],
              (n_tot % 2 == 0 ? 1 : -1) * p->rrc.save_mag_fmax_compress);
  }
}

TEST(FilterGeneration, MinimumPhaseOptionGivesTheMinimumPhaseReciprocal) {
  // The reference 0.2 z^-2 + z^-5 has the magnitude of 1 + 0.2 z^-3, so its minimum-phase
  // filter is 1 / (1 + 0.2 z^-3).
  auto p = started_program(kRate, kN);
  p->wf.y1a[2] = 0.2L;
  p->wf.y1a[5] = 1;
  p->rrc.minp_option = 1;
  ScriptedConsole con("1\nk");
  generate_filter(*p, con);
  for (long k = 0; k < kN; ++k)
    ASSERT_LT(std::abs(filt(*p, k) - 1.0L / (1.0L + 0.2L * std::polar(1.0L, -6 * kPi * k / kN))),
              1e-15L)
        << k;
}

}  // namespace
}  // namespace refx
