// The transform engine against a direct DFT, known signals and round trips; and the complex
// arithmetic it sits beside.
#include "spectral/fft.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "spectral/cmplx.h"
#include "spectral/spectral_state.h"

namespace refx {
namespace {

using C = std::complex<long double>;
const long double kPi = 3.141592653589793238462643383279502884L;
const long double kEps = LDBL_EPSILON;

// e^(sign j 2 pi j / n), reduced to a quarter turn so the angle handed to sin/cos is
// at most pi/2 and the result carries only their own rounding.
C unit_root(long j, long n, int sign) {
  j %= n;
  if (n < 4) return n == 2 && j == 1 ? C(-1, 0) : C(1, 0);
  const long quarter = n / 4;
  const long q = j / quarter, r = j % quarter;
  const long double angle = 2.0L * kPi * static_cast<long double>(r) / static_cast<long double>(n);
  C w(std::cos(angle), std::sin(angle));
  for (long i = 0; i < q; ++i) w = C(-w.imag(), w.real());  // times j, exactly
  return sign < 0 ? std::conj(w) : w;
}

// Direct DFT with compensated sums; sign -1 forward, +1 inverse; unscaled.
std::vector<C> direct_dft(const std::vector<C>& x, int sign) {
  const long n = static_cast<long>(x.size());
  std::vector<C> roots(n);
  for (long j = 0; j < n; ++j) roots[j] = unit_root(j, n, sign);
  std::vector<C> out(n);
  for (long k = 0; k < n; ++k) {
    long double sr = 0, si = 0, cr = 0, ci = 0;  // Neumaier sums
    auto add = [](long double& s, long double& c, long double v) {
      const long double t = s + v;
      c += std::fabs(s) >= std::fabs(v) ? (s - t) + v : (v - t) + s;
      s = t;
    };
    for (long m = 0; m < n; ++m) {
      const C w = roots[(k * m) % n];
      add(sr, cr, x[m].real() * w.real());
      add(sr, cr, -x[m].imag() * w.imag());
      add(si, ci, x[m].real() * w.imag());
      add(si, ci, x[m].imag() * w.real());
    }
    out[k] = C(sr + cr, si + ci);
  }
  return out;
}

// One call of the engine on its own work arrays, tables built for n.
struct Engine {
  std::unique_ptr<TransformWork> w = std::make_unique<TransformWork>();
  long n;
  long double max_mag = -1;

  explicit Engine(long size) : n(size) { build_twiddle_tables(*w, n, kPi); }
  void load(const std::vector<C>& x) {
    for (long i = 0; i < n; ++i) {
      w->xinr[i] = x[i].real();
      w->xini[i] = x[i].imag();
    }
  }
  void run(int mode) {
    fft(mode, &n, &w->nstage, w->xinr.data(), w->xini.data(), w->fftr.data(), w->ffti.data(),
        w->cos_array.data(), w->sin_array.data(), &max_mag);
  }
  C out(long k) const { return C(w->fftr[k], w->ffti[k]); }
  C in(long k) const { return C(w->xinr[k], w->xini[k]); }
};

std::vector<C> random_signal(long n, unsigned seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<long double> dist(-1.0L, 1.0L);
  std::vector<C> x(n);
  for (C& v : x) v = C(dist(gen), dist(gen));
  return x;
}

long double max_abs(const std::vector<C>& v) {
  long double m = 0;
  for (const C& c : v) m = std::max(m, std::abs(c));
  return m;
}

TEST(FftEngine, AgreesWithDirectDftInEveryMode) {
  long double worst = 0;  // error / (max|X| eps log2 N)
  long double worst_plain = 0;
  for (long n = 2, stages = 1; n <= 4096; n *= 2, ++stages) {
    const std::vector<C> x = random_signal(n, static_cast<unsigned>(n));
    const std::vector<C> fwd = direct_dft(x, -1), inv = direct_dft(x, +1);
    for (int mode : {0, 1, 2}) {
      Engine e(n);
      e.load(x);
      e.run(mode);
      const std::vector<C>& ref = mode == 1 ? inv : fwd;
      const long double scale = mode == 0 ? static_cast<long double>(n) : 1.0L;
      long double err = 0, largest = 0;
      for (long k = 0; k < n; ++k) {
        err = std::max(err, std::abs(e.out(k) * scale - ref[k]));
        // The engine's own measure: the square root of re^2 + im^2.
        largest =
            std::max(largest, std::sqrt(e.w->fftr[k] * e.w->fftr[k] + e.w->ffti[k] * e.w->ffti[k]));
        // The input arrays keep the unscaled result.
        EXPECT_EQ(e.in(k), e.out(k) * scale) << "n " << n << " mode " << mode << " bin " << k;
      }
      EXPECT_EQ(e.max_mag, largest) << "n " << n << " mode " << mode;
      const long double rel = err / max_abs(ref);
      worst_plain = std::max(worst_plain, rel);
      const long double units = rel / (kEps * stages);
      worst = std::max(worst, units);
      EXPECT_LE(units, 4.0L) << "n " << n << " mode " << mode << " rel "
                             << static_cast<double>(rel);
    }
  }
  std::printf("worst error vs direct DFT: %.3Le of max|X| = %.3Lf eps*log2N\n", worst_plain, worst);
}

TEST(FftEngine, ImpulseGivesFlatSpectrumAtEverySize) {
  for (long n = 1; n <= 65536; n *= 2) {
    for (int mode : {0, 1, 2}) {
      std::vector<C> x(n, C(0, 0));
      x[0] = C(1, 0);
      Engine e(n);
      e.load(x);
      // For n = 1 nothing is transformed: the output arrays keep what they held.
      e.w->fftr[0] = 1;
      e.w->ffti[0] = 0;
      e.run(mode);
      const long double want = mode == 0 ? 1.0L / n : 1.0L;
      long bad = 0;
      for (long k = 0; k < n; ++k)
        if (e.out(k) != C(want, 0)) ++bad;
      EXPECT_EQ(bad, 0) << "n " << n << " mode " << mode;
    }
  }
}

TEST(FftEngine, ConstantGivesOnlyDc) {
  for (long n = 2; n <= 65536; n *= 2) {
    for (int mode : {0, 1, 2}) {
      Engine e(n);
      e.load(std::vector<C>(n, C(1, 0)));
      e.run(mode);
      const long double dc = mode == 0 ? 1.0L : static_cast<long double>(n);
      EXPECT_NEAR(static_cast<double>(e.out(0).real() / dc), 1.0, 1e-17) << n << " " << mode;
      long double leak = std::abs(e.out(0).imag());
      for (long k = 1; k < n; ++k) leak = std::max(leak, std::abs(e.out(k)));
      EXPECT_LE(leak / dc, 8 * kEps * std::log2(static_cast<long double>(n)))
          << "n " << n << " mode " << mode;
    }
  }
}

TEST(FftEngine, SizeOneLeavesOutputUntouched) {
  for (int mode : {0, 1, 2}) {
    Engine e(1);
    EXPECT_EQ(e.w->nstage, 0);
    e.w->xinr[0] = 3;
    e.w->xini[0] = -2;
    e.w->fftr[0] = 7;
    e.w->ffti[0] = 5;
    e.max_mag = 11;
    e.run(mode);
    EXPECT_EQ(e.out(0), C(7, 5)) << "mode " << mode;
    EXPECT_EQ(e.in(0), C(3, -2));
    EXPECT_EQ(e.max_mag, 11);
  }
}

TEST(FftEngine, RoundTripsReturnTheInputAtLargeSizes) {
  for (long n = 8192; n <= 65536; n *= 2) {
    const std::vector<C> x = random_signal(n, 99);
    const long double stages = std::log2(static_cast<long double>(n));
    // Mode 0 then 1 gives the input; mode 2 then 1 gives it times n.
    for (int first : {0, 2}) {
      Engine e(n);
      e.load(x);
      e.run(first);
      for (long k = 0; k < n; ++k) {
        e.w->xinr[k] = e.w->fftr[k];
        e.w->xini[k] = e.w->ffti[k];
      }
      e.run(1);
      const long double factor = first == 0 ? 1.0L : static_cast<long double>(n);
      long double err = 0;
      for (long k = 0; k < n; ++k) err = std::max(err, std::abs(e.out(k) / factor - x[k]));
      EXPECT_LE(err / max_abs(x), 8 * kEps * stages) << "n " << n << " first mode " << first;
    }
  }
}

TEST(FftEngine, ComplexExponentialLandsInItsBin) {
  const long n = 65536;
  for (long k0 : {1L, 777L, n / 2, n - 3}) {
    std::vector<C> x(n);
    for (long m = 0; m < n; ++m) x[m] = unit_root(k0 * m, n, +1);
    Engine e(n);
    e.load(x);
    e.run(2);
    long double leak = 0;
    for (long k = 0; k < n; ++k)
      if (k != k0) leak = std::max(leak, std::abs(e.out(k)));
    EXPECT_LE(std::abs(e.out(k0) - C(n, 0)) / n, 16 * kEps * 16) << "bin " << k0;
    EXPECT_LE(leak / n, 16 * kEps * 16) << "bin " << k0;
    EXPECT_NEAR(static_cast<double>(e.max_mag), static_cast<double>(n), 1e-9);
  }
}

TEST(FftEngine, UnknownModesActAsInverse) {
  const long n = 64;
  const std::vector<C> x = random_signal(n, 5);
  Engine inverse(n);
  inverse.load(x);
  inverse.run(1);
  for (int mode : {-1, 3, 42}) {
    Engine e(n);
    e.load(x);
    e.run(mode);
    for (long k = 0; k < n; ++k) ASSERT_EQ(e.out(k), inverse.out(k)) << "mode " << mode;
  }
}

TEST(FftTables, HoldCosineAndNegatedSine) {
  for (long n : {2L, 8L, 4096L, 65536L}) {
    auto w = std::make_unique<TransformWork>();
    build_twiddle_tables(*w, n, kPi);
    EXPECT_EQ(w->rn2, static_cast<long double>(n / 2));
    EXPECT_EQ(w->fft_size, n);
    EXPECT_EQ(1L << w->nstage, n);
    for (long k = 0; k < n / 2; ++k) {
      const C root = unit_root(k, n, -1);
      ASSERT_NEAR(static_cast<double>(w->cos_array[k] - root.real()), 0.0, 1e-18) << n << " " << k;
      ASSERT_NEAR(static_cast<double>(w->sin_array[k] - root.imag()), 0.0, 1e-18) << n << " " << k;
    }
  }
}

TEST(FftTables, Log2ByDoubling) {
  for (long s = 0; s <= 16; ++s) EXPECT_EQ(log2_by_doubling(1L << s), s);
}

TEST(Cmplx, ArithmeticOnExactValues) {
  const cmplx a{1, 2}, b{3, 4};
  const cmplx sum = cadd(a, b), diff = csub(a, b), prod = cmul(a, b), quot = cdiv(prod, b);
  EXPECT_EQ(sum.re, 4);
  EXPECT_EQ(sum.im, 6);
  EXPECT_EQ(diff.re, -2);
  EXPECT_EQ(diff.im, -2);
  EXPECT_EQ(prod.re, -5);
  EXPECT_EQ(prod.im, 10);
  EXPECT_EQ(quot.re, 1);
  EXPECT_EQ(quot.im, 2);
  const cmplx j_squared = cmul({0, 1}, {0, 1});
  EXPECT_EQ(j_squared.re, -1);
  EXPECT_EQ(j_squared.im, 0);
  // 1 / j = -j: the conjugate of the divisor is used.
  const cmplx inv_j = cdiv({1, 0}, {0, 1});
  EXPECT_EQ(inv_j.re, 0);
  EXPECT_EQ(inv_j.im, -1);
}

}  // namespace
}  // namespace refx
