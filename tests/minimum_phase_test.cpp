// Minimum-phase conversion by the real cepstrum.
#include "reflection/minimum_phase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

constexpr long kN = 256;
constexpr long double kPi = 3.14159265358979323851L;

// Runs calc_minp on a copy of the spectrum; the console must hold any keys it waits for.
std::vector<Cx> run_minp(Console& con, const std::vector<Cx>& x) {
  auto p = started_program(1024000.0L, kN);
  std::vector<long double> re(kN), im(kN), out_re(kN, 99.0L), out_im(kN, 99.0L);
  for (long k = 0; k < kN; ++k) re[k] = x[k].real(), im[k] = x[k].imag();
  calc_minp(*p, con, re.data(), im.data(), out_re.data(), out_im.data());
  std::vector<Cx> out(kN);
  for (long k = 0; k < kN; ++k) out[k] = Cx(out_re[k], out_im[k]);
  return out;
}

const auto turn = [](long k, long double times) {
  return std::polar(1.0L, -2 * kPi * k * times / kN);
};

TEST(MinimumPhase, KnownSpectraComeBackAsTheirMinimumPhaseTwins) {
  // {input, expected}: a constant magnitude with an odd phase, a pure delay, and the
  // maximum-phase factor 0.6 - z^-1, whose twin 1 - 0.6 z^-1 has the same magnitude.
  using F = std::function<Cx(long)>;
  const std::pair<F, F> cases[] = {
      {[](long k) { return std::polar(2.5L, 0.3L * k); }, [](long) { return Cx(2.5L); }},
      {[](long k) { return turn(k, 17); }, [](long) { return Cx(1.0L); }},
      {[](long k) { return 0.6L - turn(k, 1); }, [](long k) { return 1.0L - 0.6L * turn(k, 1); }}};
  for (const auto& c : cases) {
    ScriptedConsole con;
    std::vector<Cx> x(kN);
    for (long k = 0; k < kN; ++k) x[k] = c.first(k);
    std::vector<Cx> out = run_minp(con, x);
    for (long k = 0; k < kN; ++k) ASSERT_LT(std::abs(out[k] - c.second(k)), 1e-15L) << k;
    EXPECT_EQ(con.transcript(), "");
  }
}

TEST(MinimumPhase, OutputKeepsTheMagnitudeAndHasACausalCepstrum) {
  std::vector<Cx> x(kN);  // a smooth, symmetric log magnitude; the input phase is irrelevant
  for (long k = 0; k < kN; ++k)
    x[k] = std::polar(
        std::exp(0.1L * turn(k, 1).real() - 0.07L * turn(k, 2).real() + 0.05L * turn(k, 5).real()),
        0.01L * k * k);
  ScriptedConsole con;
  std::vector<Cx> out = run_minp(con, x);
  EXPECT_EQ(con.transcript(), "");
  std::vector<Cx> log_out(kN);
  for (long k = 0; k < kN; ++k) {
    EXPECT_NEAR(static_cast<double>(std::abs(out[k]) / std::abs(x[k])), 1.0, 1e-15) << k;
    log_out[k] = std::log(out[k]);
  }
  // The complex cepstrum of a minimum-phase spectrum vanishes at negative quefrencies.
  std::vector<Cx> cep = direct_dft(log_out, +1);
  EXPECT_GT(std::abs(cep[1]) / kN, 0.01L);  // far from a trivial input
  for (long i = kN / 2 + 1; i < kN; ++i) EXPECT_LT(std::abs(cep[i]) / kN, 1e-15L) << i;
}

TEST(MinimumPhase, ZeroBinAndAsymmetricMagnitudeAreReportedOnceWithTheirCounts) {
  std::vector<Cx> x(kN, Cx(1.0L));
  x[0] = 0;  // bin 0 has no mirror, so the magnitude stays symmetric
  ScriptedConsole con("k");
  std::vector<Cx> out = run_minp(con, x);
  EXPECT_EQ(con.transcript(),
            "Warning - log magnitude was limited 1 times in calc_minp\n"
            "Press any A/N key to continue:\n");
  EXPECT_EQ(con.waits(), 1);
  EXPECT_NEAR(static_cast<double>(std::log10(std::abs(out[0]))), -50.0, 1e-9);

  x[0] = 1, x[3] = 4, x[40] = 0.5L;  // bins N-3 and N-40 stay 1
  std::vector<Cx> log_mag(kN);
  for (long k = 0; k < kN; ++k) log_mag[k] = std::log(std::abs(x[k]));
  long count = 0;
  for (const Cx& c : direct_dft(log_mag, +1)) count += std::fabs(c.imag()) > 1e-5L;
  ASSERT_GT(count, 0);
  ScriptedConsole con2("x");
  out = run_minp(con2, x);
  EXPECT_EQ(con2.transcript(), "Warning - imaginary part in inverse log magnitude calculation " +
                                   std::to_string(count) +
                                   " times\nPress any A/N key to continue:\n");
  for (long k = 0; k < kN; ++k) EXPECT_NE(out[k], Cx(99.0L, 99.0L));  // it went on
}

TEST(MinimumPhase, TransformPhaseWrapsIntoMinusPiToPi) {
  const std::pair<long double, long double> cases[] = {{1.5L * kPi, -0.5L * kPi},
                                                       {-1.5L * kPi, 0.5L * kPi},
                                                       {kPi, kPi},
                                                       {-kPi, -kPi},
                                                       {7.25L * kPi, -0.75L * kPi},
                                                       {0.25L, 0.25L}};
  for (const auto& c : cases) {
    long double v = c.first;
    transform_phase(&v, kPi);
    EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.second), 1e-17) << c.first;
  }
  long double v = INFINITY;  // must return rather than loop for ever
  transform_phase(&v, kPi);
  EXPECT_TRUE(std::isinf(v));
}

}  // namespace
}  // namespace refx
