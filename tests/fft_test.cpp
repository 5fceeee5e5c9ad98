// The transform engine against a direct DFT and known signals, and the complex arithmetic.
#include "spectral/fft.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <random>

#include "spectral/cmplx.h"
#include "spectral/spectral_state.h"
#include "support/direct_dft.h"

namespace refx {
namespace {

// One plan call on work arrays of its own.
struct Engine {
  std::unique_ptr<TransformWork> w = std::make_unique<TransformWork>();
  long n;
  long double max_mag = -1;
  explicit Engine(long size) : n(size) {}
  std::vector<Cx> run(int mode, const std::vector<Cx>& x) {
    for (long i = 0; i < n; ++i) w->xinr[i] = x[i].real(), w->xini[i] = x[i].imag();
    transform_plan(n, 3.14159265358979323851L)
        .run(mode, w->xinr.data(), w->xini.data(), w->fftr.data(), w->ffti.data(), &max_mag);
    std::vector<Cx> out(n);
    for (long k = 0; k < n; ++k) out[k] = Cx(w->fftr[k], w->ffti[k]);
    return out;
  }
};

long double max_abs(const std::vector<Cx>& v) {
  long double m = 0;
  for (const Cx& c : v) m = std::max(m, std::abs(c));
  return m;
}

// Random signals and impulses from 1 up to 65536 points, against the direct DFT where its
// N^2 steps stay quick; mode 0 then 1 returns the input, mode 2 then 1 returns it times N.
TEST(FftEngine, EveryModeAgainstDirectDftImpulsesAndRoundTrips) {
  std::mt19937_64 gen(1);
  std::uniform_real_distribution<long double> dist(-1, 1);
  for (long n = 1, stages = 0; n <= 65536; n *= 2, ++stages) {
    std::vector<Cx> x(n), impulse(n, 0);
    for (Cx& v : x) v = Cx(dist(gen), dist(gen));
    impulse[0] = 1;
    for (int mode : {0, 1, 2, 5}) {  // modes other than 0 and 2 are the inverse
      SCOPED_TRACE(testing::Message() << n << " mode " << mode);
      Engine e(n);
      e.w->fftr[0] = 7;  // with N = 1 no stage runs and the output keeps what it held
      const long double scale = mode == 0 ? n : 1;
      long bad = 0;
      for (const Cx& v : e.run(mode, impulse)) bad += v != (n == 1 ? Cx(7) : Cx(1 / scale));
      EXPECT_EQ(bad, 0);
      if (n == 1) continue;
      const std::vector<Cx> out = e.run(mode, x);
      long double err = 0, largest = 0;
      if (n <= 1024) {
        const std::vector<Cx> ref = direct_dft(x, mode == 0 || mode == 2 ? -1 : +1);
        for (long k = 0; k < n; ++k) {
          err = std::max(err, std::abs(out[k] * scale - ref[k]));
          largest = std::max(largest, std::sqrt(std::norm(out[k])));
          // The input arrays keep the unscaled result.
          EXPECT_EQ(Cx(e.w->xinr[k], e.w->xini[k]), out[k] * scale) << k;
        }
        EXPECT_LE(err / max_abs(ref), 4 * LDBL_EPSILON * stages);
        EXPECT_EQ(e.max_mag, largest);
      }
      if (mode == 1 || mode == 5) continue;
      const std::vector<Cx> back = e.run(1, out);
      err = 0;
      for (long k = 0; k < n; ++k) err = std::max(err, std::abs(back[k] / (n / scale) - x[k]));
      EXPECT_LE(err / max_abs(x), 8 * LDBL_EPSILON * stages);
    }
  }
}

TEST(Cmplx, MatchesComplexArithmetic) {
  const cmplx a{1, 2}, b{3, -4};
  const Cx want[] = {{4, -2}, {-2, 6}, {11, 2}, {-0.2L, 0.4L}};
  const cmplx got[] = {cadd(a, b), csub(a, b), cmul(a, b), cdiv(a, b)};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Cx(got[i].re, got[i].im), want[i]) << i;
}

}  // namespace
}  // namespace refx
