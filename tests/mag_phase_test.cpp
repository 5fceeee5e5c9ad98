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
// ones in front and a silent stretch at 9..12.
TEST(MagPhase, ConversionAndAveragingGroupsOfBothModes) {
  auto p = started_program(1024.0L, 1024);
  FftSlots& s = p->fft;
  const long n = 1024;
  std::mt19937_64 gen(1);
  std::uniform_real_distribution<long double> dist(-3, 3);
  for (long k = 0; k < n; ++k) s.fftr1[k] = dist(gen), s.ffti1[k] = dist(gen);
  // Real parts below 1e-50 in size count as zero: +-90 by the sign of the imaginary part.
  const long double special[][2] = {
      {0, 0}, {-1, 0}, {-1, -1e-6L}, {0, -2}, {1e-60L, -1e-70L}, {-1e-60L, 0}, {2e-50L, 0}};
  for (int i = 0; i < 7; ++i) s.fftr1[i] = special[i][0], s.ffti1[i] = special[i][1];
  for (long k = 9; k <= 12; ++k) s.fftr1[k] = s.ffti1[k] = 0;
  const auto power = [&](long k) { return s.fftr1[k] * s.fftr1[k] + s.ffti1[k] * s.ffti1[k]; };
  const auto db = [](long double pw) { return pw > 0 ? 10 * std::log10(pw) : -1000; };

  calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft2mag.data(), s.fft2ph.data());
  for (long k = 0; k < n; ++k) {
    // A zero bin is +90 by convention; bin 1 lies on the negative real axis: +180, never -180.
    const long double deg = std::fabs(s.fftr1[k]) < 1e-50L
                                ? (s.ffti1[k] >= 0 ? 90 : -90)
                                : std::atan2(s.ffti1[k], s.fftr1[k]) * 180 / p->pi;
    EXPECT_NEAR(static_cast<double>(s.fft2ph[k]), static_cast<double>(deg), 1e-12) << k;
    // ln 10 is held in single precision: dB agree to about 1e-7 relative.
    const double want = static_cast<double>(db(power(k)));
    EXPECT_NEAR(static_cast<double>(s.fft2mag[k]), want, 1e-7 * std::fabs(want) + 1e-12) << k;
  }

  // With averaging, each group of bins holds the dB value of its mean power; every other
  // bin keeps its own value, and the phase is never averaged.
  const struct {
    int mode;
    long double size;  // bins per group, or octaves per band
    long cutoff, bins;
    std::vector<std::pair<long, long>> groups;
  } cases[] = {
      {0, 4, 512, n, {}},                                            // no averaging
      {1, 1, 512, n, {}},                                            // groups of one bin
      {1, 4, 6, n, {{1, 4}, {5, 8}}},                                // crossing the cutoff
      {1, 4, 12, n, {{1, 4}, {5, 8}, {9, 12}}},                      // silent: the floor
      {1, 5, 8, 8, {{1, 5}, {6, 7}}},                                // stops at the last bin
      {2, 1, 50, n, {{1, 2}, {3, 6}, {7, 14}, {15, 30}, {31, 49}}},  // octaves to the cutoff
      {2, 1, 1, n, {}},                                              // cutoff 1
      {2, 0.1L, 20, n, {{14, 15}, {16, 17}, {18, 19}}},              // narrow: single bins below 14
  };
  for (const auto& c : cases) {
    s.fft_mag_avg_mode = c.mode, s.fft_mag_avg_npts = c.size, s.npts_cutoff_avg = c.cutoff;
    s.fft_mag_avg_mult = std::exp(p->ln_2 * c.size);
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
      EXPECT_TRUE(s.fft1ph[k] == s.fft2ph[k] && s.fft_mag_avg[k] == power(k)) << k;
    }
  }
}

}  // namespace
}  // namespace refx
