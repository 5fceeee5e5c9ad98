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

// A decaying oscillation with noise: a reference whose phase wanders over the band.
void fill_reference(Samples& y, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (long m = 0; m < kN; ++m)
    y[m] = m < 300 ? std::exp(-m / 40.0L) * (std::cos(0.21L * m) + 0.3L * u(gen)) : 0.0L;
  y[0] += 0.5L;
}

std::string generate(Program& p, int iwf) {
  ScriptedConsole con(std::to_string(iwf) + "\nk");
  generate_filter(p, con);
  EXPECT_TRUE(con.script_done());
  return con.transcript();
}

Cx filt(const Program& p, long k) {
  return Cx(p.rrc.Re_rrc_filt[k], p.rrc.Im_rrc_filt[k]);
}

// The phase convention of the estimation, in (-pi/2, 3pi/2).
long double phi(Cx c) {
  return std::atan(c.imag() / c.real()) + (c.real() < 0 ? kPi : 0.0L);
}

long double wrapped(long double d) {
  return std::remainder(d, 2.0L * kPi);
}

const char kGenerated[] =
    "Enter waveform number to generate filter (1 or 2):\n"
    "Compression filter has been generated\n"
    "Press any A/N key to continue\n";

TEST(FilterGeneration, PlainFilterIsTheReciprocalOfTheUnscaledSpectrum) {
  auto p = started_program(kRate, kN);
  fill_reference(p->wf.y2a, 1);
  p->wf.i_truncatet2 = 10;  // generation uses every sample regardless
  ScriptedConsole con("0\n3\n2\nk");
  generate_filter(*p, con);
  EXPECT_EQ(con.transcript(),
            "Enter waveform number to generate filter (1 or 2):\n"
            "Error - enter again:\nError - enter again:\n"
            "Compression filter has been generated\nPress any A/N key to continue\n");
  EXPECT_EQ(p->rrc.rrc_filt, 2);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  std::vector<Cx> x = direct_dft_real(p->wf.y2a.data(), kN, -1);
  for (long k = 0; k < kN; ++k)
    EXPECT_NEAR(static_cast<double>(std::abs(filt(*p, k) * x[k] - 1.0L)), 0.0, 1e-15) << k;
}

TEST(FilterGeneration, ZeroBinIsRefusedAndLeavesTheFilterAsItWas) {
  auto p = started_program(kRate, kN);
  for (long k = 0; k < kN; ++k) {
    p->rrc.Re_rrc_filt[k] = 0.25L * k;
    p->rrc.Im_rrc_filt[k] = -1.0L;
  }
  p->rrc.rrc_filt = 3;
  p->rrc.save_mag_fmax_compress = 42;
  p->rrc.enable_fmax_rrc_compress = 1;
  p->rrc.fmax_rrc_compress = 100 * kDf + 1;
  // Waveform 1 is all zero; waveform 2 is [1, 1, 0, ...], whose Nyquist bin is exactly 0.
  p->wf.y2a[0] = 1;
  p->wf.y2a[1] = 1;
  for (int iwf : {1, 2}) {
    SCOPED_TRACE(iwf);
    p->rrc.rrc_error = 0;
    EXPECT_EQ(generate(*p, iwf),
              "Enter waveform number to generate filter (1 or 2):\n"
              "Error - reference spectrum has a zero bin\n"
              "Error -- compression filter was not generated\n"
              "Press any A/N key to continue\n");
    EXPECT_EQ(p->rrc.rrc_error, 1);
    EXPECT_EQ(p->rrc.rrc_filt, 3);
    EXPECT_EQ(p->rrc.save_mag_fmax_compress, 42);
    for (long k = 0; k < kN; ++k) {
      ASSERT_EQ(p->rrc.Re_rrc_filt[k], 0.25L * k);
      ASSERT_EQ(p->rrc.Im_rrc_filt[k], -1.0L);
    }
  }
}

TEST(FilterGeneration, FmaxAtOrAboveNyquistLeavesThePlainReciprocal) {
  auto plain = started_program(kRate, kN);
  fill_reference(plain->wf.y1a, 3);
  generate(*plain, 1);
  for (int method : {0, 1}) {
    for (long double fmax : {kRate / 2, 1e12L}) {
      auto p = started_program(kRate, kN);
      fill_reference(p->wf.y1a, 3);
      p->rrc.enable_fmax_rrc_compress = 1;
      p->rrc.fmax_rrc_compress = fmax;
      p->rrc.i_constant_phase_slope = method;
      generate(*p, 1);
      EXPECT_EQ(p->rrc.i_trans_fmax_compress, 0);
      for (long k = 0; k < kN; ++k) {
        ASSERT_EQ(p->rrc.Re_rrc_filt[k], plain->rrc.Re_rrc_filt[k]) << method << " " << k;
        ASSERT_EQ(p->rrc.Im_rrc_filt[k], plain->rrc.Im_rrc_filt[k]) << method << " " << k;
      }
    }
  }
}

// Bins k > N/2 above fmax are the conjugates of bins N - k, exactly.
void expect_conjugate_upper_half(const Program& p, long kt) {
  for (long k = kN / 2 + 1; k <= kN - kt; ++k) {
    ASSERT_EQ(p.rrc.Re_rrc_filt[k], p.rrc.Re_rrc_filt[kN - k]) << k;
    ASSERT_EQ(p.rrc.Im_rrc_filt[k], -p.rrc.Im_rrc_filt[kN - k]) << k;
  }
}

TEST(FilterGeneration, MaintainPhaseHoldsTheMagnitudeAndKeepsEachPhase) {
  auto plain = started_program(kRate, kN);
  fill_reference(plain->wf.y1a, 4);
  generate(*plain, 1);
  auto p = started_program(kRate, kN);
  fill_reference(p->wf.y1a, 4);
  p->rrc.enable_fmax_rrc_compress = 1;
  p->rrc.fmax_rrc_compress = 200 * kDf + 500;  // transition bin 201
  p->rrc.i_constant_phase_slope = 0;
  generate(*p, 1);
  const long kt = 201;
  const long double held = std::abs(filt(*plain, kt - 1));
  EXPECT_EQ(p->rrc.save_mag_fmax_compress, held);
  for (long k = 0; k < kt; ++k) {
    ASSERT_EQ(filt(*p, k), filt(*plain, k)) << k;
    ASSERT_EQ(filt(*p, kN - k), filt(*plain, kN - k)) << k;
  }
  for (long k = kt; k <= kN / 2; ++k) {
    EXPECT_NEAR(static_cast<double>(std::abs(filt(*p, k)) / held), 1.0, 1e-15) << k;
    const long double dphase = std::arg(filt(*p, k)) - std::arg(filt(*plain, k));
    EXPECT_NEAR(static_cast<double>(wrapped(dphase)), 0.0, 1e-15) << k;
  }
  // The plain filter's magnitude really changes over the replaced band.
  EXPECT_GT(std::fabs(std::log(std::abs(filt(*plain, 300)) / held)), 0.4L);
  expect_conjugate_upper_half(*p, kt);
}

struct SlopeExpectation {
  long double del, om_save;
  long n_tot;
};

// The slope the estimation should reach, worked out independently from the plain filter:
// mean of the last `steps` wrapped phase steps below kt times the factor, then rescaled so
// the line from bin kt-1 meets n_tot pi at the Nyquist bin.
SlopeExpectation expected_slope(const Program& plain, long kt, long steps, long double factor) {
  long double sum = 0;
  for (long j = kt - 1 - steps; j < kt - 1; ++j)
    sum += wrapped(std::arg(filt(plain, j + 1)) - std::arg(filt(plain, j)));
  const long double del0 = steps > 0 ? factor * sum / steps : 0.0L;
  const long double om_save = phi(filt(plain, kt - 1));
  const long double om_tot = om_save + del0 * (kN / 2 - kt + 1);
  const long n_tot = static_cast<long>(std::round(om_tot / kPi));
  return {del0 * n_tot * (kPi / om_tot), om_save, n_tot};
}

void expect_constant_slope(const Program& p, const Program& plain, long kt, long steps,
                           long double factor) {
  const SlopeExpectation e = expected_slope(plain, kt, steps, factor);
  const long double held = std::abs(filt(plain, kt - 1));
  EXPECT_NEAR(static_cast<double>(p.rrc.del_om_fmax_compress), static_cast<double>(e.del), 1e-15);
  EXPECT_EQ(p.rrc.n_tot_fmax_rrc_compress, e.n_tot);
  EXPECT_EQ(p.rrc.i_save_fmax_rrc_compress, kt - 1);
  for (long k = 0; k < kt; ++k) ASSERT_EQ(filt(p, k), filt(plain, k)) << k;
  for (long k = kt; k < kN / 2; ++k) {
    EXPECT_NEAR(static_cast<double>(std::abs(filt(p, k)) / held), 1.0, 1e-15) << k;
    const long double line = e.om_save + e.del * (k - kt + 1);
    EXPECT_NEAR(static_cast<double>(wrapped(std::arg(filt(p, k)) - line)), 0.0, 1e-13) << k;
  }
  // The Nyquist bin is real, with the sign of cos(n_tot pi).
  EXPECT_EQ(p.rrc.Im_rrc_filt[kN / 2], 0.0L);
  EXPECT_NEAR(static_cast<double>(p.rrc.Re_rrc_filt[kN / 2] / held), e.n_tot % 2 == 0 ? 1 : -1,
              1e-18);
  expect_conjugate_upper_half(p, kt);
}

TEST(FilterGeneration, ConstantPhaseSlopeContinuesThePhaseLinearlyWithTheFactorApplied) {
  auto plain = started_program(kRate, kN);
  fill_reference(plain->wf.y1a, 5);
  generate(*plain, 1);
  long double slopes[2];
  int i = 0;
  for (long double factor : {1.0L, 0.7L}) {
    SCOPED_TRACE(static_cast<double>(factor));
    auto p = started_program(kRate, kN);
    fill_reference(p->wf.y1a, 5);
    p->rrc.enable_fmax_rrc_compress = 1;
    p->rrc.fmax_rrc_compress = 200 * kDf + 500;
    p->rrc.phase_comp_fmax_compress = factor;
    generate(*p, 1);
    expect_constant_slope(*p, *plain, 201, 100, factor);
    slopes[i++] = p->rrc.del_om_fmax_compress;
  }
  EXPECT_GT(std::fabs(slopes[0] - slopes[1]), 1e-6L);  // the factor takes effect
}

TEST(FilterGeneration, FewerStepsThanAskedUsesTheStepsAvailable) {
  auto plain = started_program(kRate, kN);
  fill_reference(plain->wf.y1a, 6);
  generate(*plain, 1);
  auto p = started_program(kRate, kN);
  fill_reference(p->wf.y1a, 6);
  p->rrc.enable_fmax_rrc_compress = 1;
  p->rrc.fmax_rrc_compress = 50 * kDf + 500;  // below the 100 steps asked for
  // Stale values of an earlier generation must not be used.
  p->rrc.del_om_fmax_compress = 123;
  p->rrc.om_save_fmax_rrc_compress = 5;
  p->rrc.i_save_fmax_rrc_compress = 7;
  p->rrc.sign_om_tot_fmax_rrc_compress = 0;
  generate(*p, 1);
  expect_constant_slope(*p, *plain, 51, 50, 1.0L);
}

TEST(FilterGeneration, TransitionAtBinOneCarriesTheDcValueOut) {
  auto p = started_program(kRate, kN);
  fill_reference(p->wf.y1a, 7);
  p->rrc.enable_fmax_rrc_compress = 1;
  p->rrc.fmax_rrc_compress = 0.5L * kDf;  // no phase step lies below the transition
  generate(*p, 1);
  const Cx dc = filt(*p, 0);
  for (long k = 1; k < kN; ++k)
    ASSERT_NEAR(static_cast<double>(std::abs(filt(*p, k) - dc) / std::abs(dc)), 0.0, 1e-15) << k;
}

TEST(FilterGeneration, LineEndingAtZeroIsNotRescaled) {
  auto p = started_program(kRate, kN);
  p->wf.y1a[0] = 1;  // spectrum 1/N everywhere, every phase exactly zero
  p->rrc.enable_fmax_rrc_compress = 1;
  p->rrc.fmax_rrc_compress = 200 * kDf + 500;
  generate(*p, 1);
  ASSERT_EQ(p->rrc.om_tot_fmax_rrc_compress, 0.0L);
  for (long k = 0; k < kN; ++k) {
    ASSERT_EQ(p->rrc.Re_rrc_filt[k], 1.0L) << k;
    ASSERT_EQ(p->rrc.Im_rrc_filt[k], 0.0L) << k;
  }
}

TEST(FilterGeneration, FilterOfARealWaveformStaysConjugateSymmetric) {
  for (int method : {0, 1}) {
    auto p = started_program(kRate, kN);
    fill_reference(p->wf.y1a, 8);
    p->rrc.enable_fmax_rrc_compress = 1;
    p->rrc.fmax_rrc_compress = 137 * kDf + 3;
    p->rrc.i_constant_phase_slope = method;
    generate(*p, 1);
    for (long k = 1; k < kN; ++k) {
      const Cx c = filt(*p, k);
      ASSERT_LE(std::abs(c - std::conj(filt(*p, kN - k))), 1e-15L * std::abs(c)) << k;
    }
    if (method == 1) {
      EXPECT_EQ(p->rrc.Im_rrc_filt[kN / 2], 0.0L);
    }
  }
}

TEST(FilterGeneration, MinimumPhaseOptionGivesTheMinimumPhaseReciprocal) {
  // The reference 0.2 z^-2 + z^-5 has the magnitude of 1 + 0.2 z^-3, so its minimum-phase
  // filter is 1 / (1 + 0.2 z^-3); without the option the filter keeps the delay.
  auto p = started_program(kRate, kN);
  p->wf.y1a[2] = 0.2L;
  p->wf.y1a[5] = 1;
  p->rrc.minp_option = 1;
  EXPECT_EQ(generate(*p, 1), kGenerated);
  for (long k = 0; k < kN; ++k) {
    const Cx expected = 1.0L / (1.0L + 0.2L * std::polar(1.0L, -6 * kPi * k / kN));
    ASSERT_LT(static_cast<double>(std::abs(filt(*p, k) - expected)), 1e-15) << k;
  }
  p->rrc.minp_option = 0;
  generate(*p, 1);
  EXPECT_GT(std::abs(filt(*p, 1) - 1.0L / (1.0L + 0.2L * std::polar(1.0L, -6 * kPi / kN))), 0.01L);
}

TEST(FilterGeneration, RoundLongMovesHalvesAwayFromZero) {
  EXPECT_EQ(Round_long(2.5L), 3);
  EXPECT_EQ(Round_long(-2.5L), -3);
  EXPECT_EQ(Round_long(2.4999L), 2);
  EXPECT_EQ(Round_long(-2.4999L), -2);
  EXPECT_EQ(Round_long(0.5L), 1);
  EXPECT_EQ(Round_long(-0.5L), -1);
  EXPECT_EQ(Round_long(0.49L), 0);
  EXPECT_EQ(Round_long(7.0L), 7);
  EXPECT_EQ(Round_long(-7.0L), -7);
  EXPECT_EQ(Round_long(-7.9L), -8);
}

}  // namespace
}  // namespace refx
