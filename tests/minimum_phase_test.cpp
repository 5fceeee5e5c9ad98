// Minimum-phase conversion by the real cepstrum.
#include "reflection/minimum_phase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

constexpr long kN = 256;

struct MinpRun {
  std::vector<long double> re, im;
};

// Runs calc_minp on a copy of the spectrum; the console must hold any keys it waits for.
MinpRun run_minp(Program& p, Console& con, const std::vector<Cx>& spectrum) {
  std::vector<long double> in_re(kN), in_im(kN);
  for (long k = 0; k < kN; ++k) {
    in_re[k] = spectrum[k].real();
    in_im[k] = spectrum[k].imag();
  }
  MinpRun out{std::vector<long double>(kN, 99.0L), std::vector<long double>(kN, 99.0L)};
  calc_minp(p, con, in_re.data(), in_im.data(), out.re.data(), out.im.data());
  return out;
}

long double theta(long k) {
  return 2.0L * 3.14159265358979323846264338327950288L * k / kN;
}

TEST(MinimumPhase, ConstantMagnitudeAndPureDelayComeBackWithZeroPhase) {
  auto p = started_program(1024000.0L, kN);
  for (long double mag : {2.5L, 1.0L}) {
    ScriptedConsole con;
    std::vector<Cx> x(kN);
    // Any phase: a pure delay of 17 points for unit magnitude, something odd otherwise.
    for (long k = 0; k < kN; ++k) x[k] = std::polar(mag, mag == 1 ? -theta(k) * 17 : 0.3L * k);
    MinpRun out = run_minp(*p, con, x);
    for (long k = 0; k < kN; ++k) {
      ASSERT_NEAR(static_cast<double>(out.re[k]), static_cast<double>(mag), 1e-15) << k;
      ASSERT_NEAR(static_cast<double>(out.im[k]), 0.0, 1e-15) << k;
    }
    EXPECT_EQ(con.transcript(), "");
  }
}

TEST(MinimumPhase, MaximumPhaseFactorTurnsIntoItsMinimumPhaseTwin) {
  // a - e^{-j theta} has its zero outside the unit circle; 1 - a e^{-j theta} has the
  // same magnitude and is the minimum-phase spectrum of it.
  auto p = started_program(1024000.0L, kN);
  ScriptedConsole con;
  const long double a = 0.6L;
  std::vector<Cx> x(kN);
  for (long k = 0; k < kN; ++k) x[k] = a - std::polar(1.0L, -theta(k));
  MinpRun out = run_minp(*p, con, x);
  for (long k = 0; k < kN; ++k) {
    const Cx expected = 1.0L - a * std::polar(1.0L, -theta(k));
    EXPECT_NEAR(static_cast<double>(out.re[k]), static_cast<double>(expected.real()), 1e-15);
    EXPECT_NEAR(static_cast<double>(out.im[k]), static_cast<double>(expected.imag()), 1e-15);
  }
  EXPECT_EQ(con.transcript(), "");
}

TEST(MinimumPhase, OutputKeepsTheMagnitudeAndHasACausalCepstrum) {
  auto p = started_program(1024000.0L, kN);
  ScriptedConsole con;
  // A smooth, symmetric log magnitude with random coefficients.
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> coef(-0.15, 0.15);
  std::vector<long double> c(6);
  for (auto& v : c) v = coef(gen);
  std::vector<Cx> x(kN);
  for (long k = 0; k < kN; ++k) {
    long double log_mag = 0;
    for (std::size_t m = 0; m < c.size(); ++m) log_mag += c[m] * std::cos(theta(k) * (m + 1));
    x[k] = std::polar(std::exp(log_mag), 0.01L * k * k);  // input phase is irrelevant
  }
  MinpRun out = run_minp(*p, con, x);
  EXPECT_EQ(con.transcript(), "");

  std::vector<Cx> log_out(kN);
  for (long k = 0; k < kN; ++k) {
    const long double mag = std::hypot(out.re[k], out.im[k]);
    EXPECT_NEAR(static_cast<double>(mag / std::abs(x[k])), 1.0, 1e-15) << k;
    log_out[k] = Cx(std::log(mag), std::atan2(out.im[k], out.re[k]));
  }
  // The complex cepstrum of a minimum-phase spectrum vanishes at negative quefrencies.
  std::vector<Cx> cep = direct_dft(log_out, +1);
  long double largest_causal = 0;
  for (long i = 1; i < kN / 2; ++i)
    largest_causal = std::max(largest_causal, std::abs(cep[i]) / kN);
  EXPECT_GT(largest_causal, 0.01L);  // the test input is far from a trivial one
  for (long i = kN / 2 + 1; i < kN; ++i)
    EXPECT_LT(static_cast<double>(std::abs(cep[i]) / kN), 1e-15) << i;
}

TEST(MinimumPhase, ZeroBinIsFlooredAndReportedOnce) {
  auto p = started_program(1024000.0L, kN);
  ScriptedConsole con("k");
  std::vector<Cx> x(kN, Cx(1.0L, 0.0L));
  x[0] = 0;  // bin 0 has no mirror, so the magnitude stays symmetric
  MinpRun out = run_minp(*p, con, x);
  EXPECT_EQ(con.transcript(),
            "Warning - log magnitude was limited 1 times in calc_minp\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(con.waits(), 1);
  EXPECT_EQ(p->ascii_code_continue, 'k');
  // The floor stands in for the zero: bin 0 comes back with magnitude 1e-50, the others
  // with their own.
  EXPECT_NEAR(static_cast<double>(std::log10(std::hypot(out.re[0], out.im[0]))), -50.0, 1e-9);
  for (long k = 1; k < kN; ++k)
    EXPECT_NEAR(static_cast<double>(std::hypot(out.re[k], out.im[k])), 1.0, 1e-12) << k;
}

TEST(MinimumPhase, AsymmetricMagnitudeIsReportedWithTheCountOfImaginaryBins) {
  auto p = started_program(1024000.0L, kN);
  ScriptedConsole con("x");
  std::vector<Cx> x(kN, Cx(1.0L, 0.0L));
  x[3] = 4.0L;  // bin N-3 stays 1
  x[40] = 0.5L;
  // The expected count, from the log magnitude's inverse transform done directly.
  std::vector<Cx> log_mag(kN);
  for (long k = 0; k < kN; ++k) log_mag[k] = std::log(std::abs(x[k]));
  std::vector<Cx> cep = direct_dft(log_mag, +1);
  long count = 0;
  for (const Cx& c : cep)
    if (std::fabs(c.imag()) > 1e-5L) ++count;
  ASSERT_GT(count, 0);
  MinpRun out = run_minp(*p, con, x);
  EXPECT_EQ(con.transcript(), "Warning - imaginary part in inverse log magnitude calculation " +
                                  std::to_string(count) +
                                  " times\nPress any A/N key to continue:\n");
  EXPECT_EQ(con.waits(), 1);
  // The conversion went on and wrote every output bin.
  for (long k = 0; k < kN; ++k) EXPECT_NE(out.re[k], 99.0L);
}

TEST(MinimumPhase, TransformPhaseWrapsIntoMinusPiToPi) {
  const long double pi = 3.14159265358979323851L;
  long double v = 1.5L * pi;
  transform_phase(&v, pi);
  EXPECT_NEAR(static_cast<double>(v), static_cast<double>(-0.5L * pi), 1e-18);
  v = -1.5L * pi;
  transform_phase(&v, pi);
  EXPECT_NEAR(static_cast<double>(v), static_cast<double>(0.5L * pi), 1e-18);
  v = pi;
  transform_phase(&v, pi);
  EXPECT_EQ(v, pi);
  v = -pi;
  transform_phase(&v, pi);
  EXPECT_EQ(v, -pi);
  v = 7.25L * pi;  // several turns
  transform_phase(&v, pi);
  EXPECT_NEAR(static_cast<double>(v), static_cast<double>(-0.75L * pi), 1e-17);
  v = 0.25L;
  transform_phase(&v, pi);
  EXPECT_EQ(v, 0.25L);
  v = INFINITY;  // must return rather than loop for ever
  transform_phase(&v, pi);
  EXPECT_TRUE(std::isinf(v));
}

}  // namespace
}  // namespace refx
