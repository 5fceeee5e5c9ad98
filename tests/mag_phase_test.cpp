// Magnitude in dB, phase in degrees, and the two ways of averaging the magnitude.
#include "spectral/mag_phase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "support/test_program.h"

namespace refx {
namespace {

// 1024 points at 1024 samples/s: bins exactly 1 Hz apart. Random bins, with a few special
// ones in front and a silent stretch at 9..12; fft2mag/ph hold the plain conversion.
struct MagPhase : ::testing::Test {
  std::unique_ptr<Program> p = started_program(1024.0L, 1024);
  FftSlots& s = p->fft;
  const long n = 1024;

  void SetUp() override {
    std::mt19937_64 gen(1);
    std::uniform_real_distribution<long double> dist(-3, 3);
    for (long k = 0; k < n; ++k) s.fftr1[k] = dist(gen), s.ffti1[k] = dist(gen);
    const long double special[][2] = {{0, 0}, {-1, 0}, {-1, -1e-6L}, {0, -2}};
    for (int i = 0; i < 4; ++i) s.fftr1[i] = special[i][0], s.ffti1[i] = special[i][1];
    for (long k = 9; k <= 12; ++k) s.fftr1[k] = s.ffti1[k] = 0;
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft2mag.data(),
                           s.fft2ph.data());
  }
  long double power(long k) const { return s.fftr1[k] * s.fftr1[k] + s.ffti1[k] * s.ffti1[k]; }
  long double db(long double power) const { return power > 0 ? 10 * std::log10(power) : -1000; }
};

TEST_F(MagPhase, FloorZeroBinsNegativeRealsAndEveryQuadrant) {
  s.fft_mag_avg_mode = 0;
  calc_fft_mag_ph(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data());
  for (const Samples* mag : {&s.fft1mag, &s.fft2mag}) {
    const Samples& ph = mag == &s.fft1mag ? s.fft1ph : s.fft2ph;
    EXPECT_EQ((*mag)[0], -1000.0L);
    EXPECT_EQ(ph[0], 90.0L);
    EXPECT_EQ(ph[1], 180.0L);
    EXPECT_GT(ph[2], -180.0L);
    EXPECT_LT(ph[2], -179.9999L);
    EXPECT_EQ(ph[3], -90.0L);
    for (long k = 1; k < n; ++k) {
      if (k > 3 && power(k) > 0) {
        const long double deg = std::atan2(s.ffti1[k], s.fftr1[k]) * 180 / p->pi;
        EXPECT_NEAR(static_cast<double>(ph[k]), static_cast<double>(deg), 1e-12) << k;
      }
      // ln 10 is held in single precision: dB agree to about 1e-7 relative.
      const double want = static_cast<double>(db(power(k)));
      EXPECT_NEAR(static_cast<double>((*mag)[k]), want, 1e-7 * std::fabs(want) + 1e-12) << k;
    }
  }
  for (long k = 0; k < n; ++k) EXPECT_EQ(s.fft_mag_avg[k], power(k));
}

// Each group of bins holds the dB value of its mean power; every other bin keeps its own
// value, and the phase is never averaged.
TEST_F(MagPhase, AveragingGroups) {
  struct Case {
    int mode;
    long npts;
    long double frac;
    long cutoff, bins;
    std::vector<std::pair<long, long>> groups;
  };
  const Case cases[] = {
      {1, 1, 0, 512, n, {}},                        // groups of one bin change nothing
      {1, 4, 0, 6, n, {{1, 4}, {5, 8}}},            // the group that crosses the cutoff is finished
      {1, 4, 0, 12, n, {{1, 4}, {5, 8}, {9, 12}}},  // a silent group gets the floor
      {1, 5, 0, 8, 8, {{1, 5}, {6, 7}}},            // a group stops at the last bin
      {2, 0, 1, 50, n, {{1, 2}, {3, 6}, {7, 14}, {15, 30}, {31, 49}}},  // octaves, cut at the
                                                                        // cutoff
      {2, 0, 1, 1, n, {}},                                              // cutoff 1 changes nothing
      {2, 0, 0.1L, 20, n, {{14, 15}, {16, 17}, {18, 19}}},  // narrow bands: single bins below 14
  };
  for (const Case& c : cases) {
    s.fft_mag_avg_mode = c.mode;
    s.fft_mag_avg_npts = c.npts;
    s.fft_mag_avg_mult = std::exp(p->ln_2 * c.frac);
    s.npts_cutoff_avg = c.cutoff;
    calc_fft_mag_ph(*p, &c.bins, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data());
    Samples want = s.fft2mag;
    for (auto [lo, hi] : c.groups) {
      long double sum = 0;
      for (long k = lo; k <= hi; ++k) sum += power(k);
      for (long k = lo; k <= hi; ++k) want[k] = db(sum / (hi - lo + 1));
    }
    for (long k = 0; k < c.bins; ++k) {
      EXPECT_NEAR(static_cast<double>(s.fft1mag[k]), static_cast<double>(want[k]), 1e-6)
          << "mode " << c.mode << " cutoff " << c.cutoff << " bin " << k;
      EXPECT_EQ(s.fft1ph[k], s.fft2ph[k]);
    }
  }
}

}  // namespace
}  // namespace refx
