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

// One engine call on work arrays of its own, the tables built for n.
struct Engine {
  std::unique_ptr<TransformWork> w = std::make_unique<TransformWork>();
  long n;
  long double max_mag = -1;
  explicit Engine(long size) : n(size) { build_twiddle_tables(*w, n, 3.14159265358979323851L); }
  std::vector<Cx> run(int mode, const std::vector<Cx>& x) {
    for (long i = 0; i < n; ++i) w->xinr[i] = x[i].real(), w->xini[i] = x[i].imag();
    fft(mode, &n, &w->nstage, w->xinr.data(), w->xini.data(), w->fftr.data(), w->ffti.data(),
        w->cos_array.data(), w->sin_array.data(), &max_mag);
    std::vector<Cx> out(n);
    for (long k = 0; k < n; ++k) out[k] = Cx(w->fftr[k], w->ffti[k]);
    return out;
  }
};

std::vector<Cx> random_signal(long n, std::mt19937_64& gen) {
  std::uniform_real_distribution<long double> dist(-1, 1);
  std::vector<Cx> x(n);
  for (Cx& v : x) v = Cx(dist(gen), dist(gen));
  return x;
}

long double max_abs(const std::vector<Cx>& v) {
  long double m = 0;
  for (const Cx& c : v) m = std::max(m, std::abs(c));
  return m;
}

TEST(FftEngine, AgreesWithDirectDftInEveryMode) {
  std::mt19937_64 gen(1);
  for (long n = 2, stages = 1; n <= 1024; n *= 2, ++stages) {
    const std::vector<Cx> x = random_signal(n, gen);
    const std::vector<Cx> fwd = direct_dft(x, -1), inv = direct_dft(x, +1);
    for (int mode : {0, 1, 2, 5}) {  // modes other than 0 and 2 are the inverse
      Engine e(n);
      const std::vector<Cx> out = e.run(mode, x);
      const std::vector<Cx>& ref = mode == 0 || mode == 2 ? fwd : inv;
      const long double scale = mode == 0 ? n : 1;
      long double err = 0, largest = 0;
      for (long k = 0; k < n; ++k) {
        err = std::max(err, std::abs(out[k] * scale - ref[k]));
        largest = std::max(largest, std::sqrt(std::norm(out[k])));
        // The input arrays keep the unscaled result.
        EXPECT_EQ(Cx(e.w->xinr[k], e.w->xini[k]), out[k] * scale) << n << " " << mode;
      }
      EXPECT_LE(err / max_abs(ref), 4 * LDBL_EPSILON * stages) << n << " mode " << mode;
      EXPECT_EQ(e.max_mag, largest) << n << " mode " << mode;
    }
  }
}

// An impulse gives exactly 1 (1/N in mode 0) in every bin, a constant only DC; with N = 1
// no stage runs and the output keeps what it held.
TEST(FftEngine, ImpulseAndConstantAtEverySize) {
  for (long n = 1; n <= 65536; n *= 2) {
    for (int mode : {0, 1, 2}) {
      Engine e(n);
      e.w->fftr[0] = 7;
      std::vector<Cx> impulse(n, 0);
      impulse[0] = 1;
      const Cx want = n == 1 ? Cx(7, 0) : Cx(mode == 0 ? 1.0L / n : 1, 0);
      long bad = 0;
      for (const Cx& v : e.run(mode, impulse)) bad += v != want;
      EXPECT_EQ(bad, 0) << "impulse n " << n << " mode " << mode;
      if (n == 1) continue;
      const std::vector<Cx> dc = e.run(mode, std::vector<Cx>(n, 1));
      const long double dc_want = mode == 0 ? 1 : n;
      long double err = std::abs(dc[0] - dc_want);
      for (long k = 1; k < n; ++k) err = std::max(err, std::abs(dc[k]));
      EXPECT_LE(err / dc_want, 8 * LDBL_EPSILON * std::log2(n)) << "dc n " << n << " " << mode;
    }
  }
}

// Mode 0 then 1 returns the input; mode 2 then 1 returns it times N.
TEST(FftEngine, RoundTripsUpTo65536) {
  std::mt19937_64 gen(2);
  for (long n = 2; n <= 65536; n *= 2) {
    const std::vector<Cx> x = random_signal(n, gen);
    for (int first : {0, 2}) {
      Engine e(n);
      const std::vector<Cx> back = e.run(1, e.run(first, x));
      const long double factor = first == 0 ? 1 : n;
      long double err = 0;
      for (long k = 0; k < n; ++k) err = std::max(err, std::abs(back[k] / factor - x[k]));
      EXPECT_LE(err / max_abs(x), 8 * LDBL_EPSILON * std::log2(n)) << n << " mode " << first;
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
