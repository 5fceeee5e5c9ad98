// Magnitude in dB, phase in degrees, and the two ways of averaging the magnitude.
#include "spectral/mag_phase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "support/test_program.h"

namespace refx {
namespace {

long double db_of(long double power) {
  return 10.0L * std::log10(power);
}

// 1024 points at 1024 samples/s: bins are exactly 1 Hz apart.
struct MagPhase : ::testing::Test {
  std::unique_ptr<Program> p = started_program(1024.0L, 1024);
  FftSlots& s = p->fft;
  long n = 1024;

  void fill_random(unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<long double> dist(-3.0L, 3.0L);
    for (long k = 0; k < n; ++k) {
      s.fftr1[k] = dist(gen);
      s.ffti1[k] = dist(gen);
    }
  }
  long double power(long k) const { return s.fftr1[k] * s.fftr1[k] + s.ffti1[k] * s.ffti1[k]; }
  void run_avg() {
    calc_fft_mag_ph(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data());
  }
  void run_plain() {
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft2mag.data(),
                           s.fft2ph.data());
  }

  // Bins lo..hi all hold the dB value of their mean power.
  void expect_group(long lo, long hi) {
    long double sum = 0;
    for (long k = lo; k <= hi; ++k) sum += power(k);
    const long double want = db_of(sum / (hi - lo + 1));
    for (long k = lo; k <= hi; ++k)
      EXPECT_NEAR(static_cast<double>(s.fft1mag[k]), static_cast<double>(want), 1e-6)
          << "group " << lo << "-" << hi << " bin " << k;
  }
  // Bins lo..hi keep their own dB value (the unaveraged one in fft2mag).
  void expect_own(long lo, long hi) {
    for (long k = lo; k <= hi; ++k) EXPECT_EQ(s.fft1mag[k], s.fft2mag[k]) << "bin " << k;
  }
};

TEST_F(MagPhase, FloorAndPhaseAtTheSpecialBins) {
  const long double bins[][2] = {{0, 0},  {-1, 0},     {-1, -0.000001L},
                                 {0, -2}, {1e-60L, 3}, {-1e-60L, -3}};
  long four = 6;
  for (int i = 0; i < 6; ++i) {
    s.fftr1[i] = bins[i][0];
    s.ffti1[i] = bins[i][1];
  }
  calc_fft_mag_ph(*p, &four, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data());
  calc_fft_mag_ph_no_avg(*p, &four, s.fftr1.data(), s.ffti1.data(), s.fft2mag.data(),
                         s.fft2ph.data());
  for (const Samples* ph : {&s.fft1ph, &s.fft2ph}) {
    const Samples& mag = ph == &s.fft1ph ? s.fft1mag : s.fft2mag;
    EXPECT_EQ(mag[0], -1000.0L);
    EXPECT_EQ((*ph)[0], 90.0L);
    EXPECT_NEAR(static_cast<double>(mag[1]), 0.0, 1e-15);
    EXPECT_EQ((*ph)[1], 180.0L);
    EXPECT_GT((*ph)[2], -180.0L);
    EXPECT_LT((*ph)[2], -179.9999L);
    EXPECT_EQ((*ph)[3], -90.0L);
    EXPECT_EQ((*ph)[4], 90.0L);
    EXPECT_EQ((*ph)[5], -90.0L);
  }
}

TEST_F(MagPhase, MatchesPolarFormInEveryQuadrant) {
  fill_random(1);
  run_plain();
  for (long k = 0; k < n; ++k) {
    const long double deg = std::atan2(s.ffti1[k], s.fftr1[k]) * 180.0L / p->pi;
    EXPECT_NEAR(static_cast<double>(s.fft2ph[k]), static_cast<double>(deg), 1e-12) << k;
    EXPECT_GT(s.fft2ph[k], -180.0L);
    EXPECT_LE(s.fft2ph[k], 180.0L);
    // ln 10 is held in single precision, so dB agree to about 1e-7 relative.
    EXPECT_NEAR(static_cast<double>(s.fft2mag[k]), static_cast<double>(db_of(power(k))),
                1e-7 * std::fabs(static_cast<double>(db_of(power(k)))) + 1e-12);
  }
}

TEST_F(MagPhase, NoAveragingKeepsEachBinAndStoresPowers) {
  fill_random(2);
  s.fft_mag_avg_mode = 0;
  run_avg();
  run_plain();
  expect_own(0, n - 1);
  for (long k = 0; k < n; ++k) EXPECT_EQ(s.fft_mag_avg[k], power(k));
  for (long k = 0; k < n; ++k) EXPECT_EQ(s.fft1ph[k], s.fft2ph[k]);
}

TEST_F(MagPhase, GroupsOfOneBinChangeNothing) {
  fill_random(3);
  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 1;
  run_avg();
  run_plain();
  for (long k = 0; k < n; ++k)
    EXPECT_NEAR(static_cast<double>(s.fft1mag[k]), static_cast<double>(s.fft2mag[k]), 1e-15) << k;
}

TEST_F(MagPhase, FixedGroupsFinishTheGroupThatCrossesTheCutoff) {
  fill_random(4);
  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 4;
  s.npts_cutoff_avg = 6;
  run_avg();
  run_plain();
  expect_own(0, 0);
  expect_group(1, 4);
  expect_group(5, 8);
  expect_own(9, n - 1);
  for (long k = 0; k < n; ++k) EXPECT_EQ(s.fft1ph[k], s.fft2ph[k]);  // phase never averaged
}

TEST_F(MagPhase, FixedGroupStopsAtTheLastBin) {
  fill_random(5);
  long eight = 8;
  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 5;
  s.npts_cutoff_avg = 8;
  calc_fft_mag_ph(*p, &eight, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data());
  expect_group(1, 5);
  expect_group(6, 7);
}

TEST_F(MagPhase, OctaveGroupsDoubleAndAreCutAtTheCutoff) {
  fill_random(6);
  s.fft_mag_avg_mode = 2;
  s.fft_mag_avg_frac = 1;
  s.fft_mag_avg_mult = std::exp(p->ln_2 * s.fft_mag_avg_frac);
  s.npts_cutoff_avg = 50;
  run_avg();
  run_plain();
  expect_own(0, 0);
  // From bin j the band [j, 2j] Hz: 1-2, 3-6, 7-14, 15-30, then 31-62 cut at bin 49.
  expect_group(1, 2);
  expect_group(3, 6);
  expect_group(7, 14);
  expect_group(15, 30);
  expect_group(31, 49);
  expect_own(50, n - 1);
}

TEST_F(MagPhase, NarrowOctaveBandsHoldSingleBinsAtLowFrequency) {
  fill_random(7);
  s.fft_mag_avg_mode = 2;
  s.fft_mag_avg_frac = 0.1L;  // band ratio 1.0718: a second bin joins from bin 14 on
  s.fft_mag_avg_mult = std::exp(p->ln_2 * s.fft_mag_avg_frac);
  s.npts_cutoff_avg = 20;
  run_avg();
  run_plain();
  for (long k = 0; k <= 13; ++k)
    EXPECT_NEAR(static_cast<double>(s.fft1mag[k]), static_cast<double>(s.fft2mag[k]), 1e-15) << k;
  expect_group(14, 15);
  expect_group(16, 17);
  expect_group(18, 19);
  expect_own(20, n - 1);
}

TEST_F(MagPhase, OctaveAveragingWithCutoffOneChangesNothing) {
  fill_random(8);
  s.fft_mag_avg_mode = 2;
  s.fft_mag_avg_frac = 1;
  s.fft_mag_avg_mult = 2;
  s.npts_cutoff_avg = 1;
  run_avg();
  run_plain();
  expect_own(0, n - 1);
}

TEST_F(MagPhase, SilentGroupsGetTheFloor) {
  fill_random(9);
  for (long k = 5; k <= 8; ++k) s.fftr1[k] = s.ffti1[k] = 0;
  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 4;
  s.npts_cutoff_avg = 12;
  run_avg();
  for (long k = 5; k <= 8; ++k) EXPECT_EQ(s.fft1mag[k], -1000.0L);
  expect_group(1, 4);
  expect_group(9, 12);
}

}  // namespace
}  // namespace refx
