// Compression filter generation: the reciprocal, the band limiting above fmax with both
// phase-extension methods, the refusal of a zero bin, and the minimum-phase conversion.
#include "reflection/filter_generation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "reflection/minimum_phase.h"
#include "reflection/rrc_actions.h"
#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

// A power-of-two rate keeps the bin spacing (1024 Hz) and the Nyquist frequency exact.
constexpr long double kRate = 1048576.0L;
constexpr long kN = 1024;
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

const auto filt = [](auto& p, long k) { return Cx(p.rrc.Re_rrc_filt[k], p.rrc.Im_rrc_filt[k]); };

const auto wrapped = [](long double d) { return std::remainder(d, 2.0L * kPi); };

// z^-t on bin k.
const auto turn = [](long k, long double t) { return std::polar(1.0L, -2 * kPi * k * t / kN); };

TEST(FilterGeneration, ReciprocalAlsoWithFmaxAtNyquistZeroBinRefusedAndMinimumPhase) {
  auto q = generated(3);
  std::vector<Cx> x = direct_dft_real(q->wf.y2a.data(), kN, -1);
  for (long k = 0; k < kN; ++k) ASSERT_LT(std::abs(filt(*q, k) * x[k] - 1.0L), 1e-15L) << k;
  for (auto [method, fmax] : {std::pair(0, kRate / 2), std::pair(1, 1e12L)}) {
    auto p = generated(3, method, fmax);
    EXPECT_EQ(p->rrc.i_trans_fmax_compress, 0);
    EXPECT_TRUE(p->rrc.Re_rrc_filt == q->rrc.Re_rrc_filt &&
                p->rrc.Im_rrc_filt == q->rrc.Im_rrc_filt);
  }
  // [1, 1, 0, ...] in waveform 1: only the Nyquist bin is exactly 0. The filter is kept.
  auto before = std::make_unique<Reflection>(q->rrc);
  q->wf.y1a[0] = q->wf.y1a[1] = 1;
  ScriptedConsole con("1\nk");
  generate_filter(*q, con);
  EXPECT_NE(con.transcript().find("Error - reference spectrum has a zero bin\n"
                                  "Error -- compression filter was not generated\nPress any"),
            std::string::npos);
  EXPECT_EQ(q->rrc.rrc_error * 10 + q->rrc.rrc_filt, 12);
  EXPECT_TRUE(q->rrc.Re_rrc_filt == before->Re_rrc_filt &&
              q->rrc.Im_rrc_filt == before->Im_rrc_filt);
  // The reference 0.2 z^-2 + z^-5 with the minimum-phase option: 1 / (1 + 0.2 z^-3).
  q->wf.y1a[0] = q->wf.y1a[1] = 0, q->wf.y1a[2] = 0.2L, q->wf.y1a[5] = 1, q->rrc.minp_option = 1;
  ScriptedConsole con2("1\nk");
  generate_filter(*q, con2);
  for (long k = 0; k < kN; ++k)
    ASSERT_LT(std::abs(filt(*q, k) * (1.0L + 0.2L * turn(k, 3)) - 1.0L), 1e-15L) << k;
}

TEST(FilterGeneration, ReplacedBinsHoldTheMagnitudeWithTheirOwnOrALinearPhase) {
  // {seed, method, transition bin, steps below it, compensation factor}: maintain phase;
  // constant slope over the default 100 steps with and without a factor, over fewer steps
  // than asked, and over none at all (a line from the real DC bin that ends at zero).
  using Case = std::tuple<unsigned, int, long, long, long double>;
  const Case cases[] = {{4, 0, 201, 0, 1},
                        {5, 1, 201, 100, 1},
                        {5, 1, 201, 100, 0.7L},
                        {6, 1, 51, 50, 1},
                        {7, 1, 1, 0, 1}};
  for (auto [seed, method, kt, steps, factor] : cases) {
    SCOPED_TRACE(testing::Message() << seed << " " << static_cast<double>(factor));
    auto plain = generated(seed);
    auto p = generated(seed, method, (kt - 1) * (kRate / kN) + 500, factor);
    const Cx last = filt(*plain, kt - 1);
    const long double held = std::abs(last);
    for (long k = 0; k < kt; ++k) ASSERT_EQ(filt(*p, k), filt(*plain, k)) << k;
    for (long k = kN / 2 + 1; k < kN; ++k)
      ASSERT_LE(std::abs(filt(*p, k) - std::conj(filt(*p, kN - k))), 1e-15L * held) << k;
    // The line worked out from the plain filter: the mean wrapped step times the factor,
    // rescaled to meet n_tot pi at the Nyquist bin; it starts at the phase of bin kt - 1,
    // taken in (-pi/2, 3pi/2).
    long double sum = 0;
    for (long j = kt - 1 - steps; j < kt - 1; ++j)
      sum += wrapped(std::arg(filt(*plain, j + 1)) - std::arg(filt(*plain, j)));
    const long double del0 = steps > 0 ? factor * sum / steps : 0;
    const long double om_save = std::atan(last.imag() / last.real()) + (last.real() < 0 ? kPi : 0);
    const long double om_tot = om_save + del0 * (kN / 2 - kt + 1);
    const long n_tot = std::lround(om_tot / kPi);
    const long double del = om_tot == 0 ? del0 : del0 * n_tot * (kPi / om_tot);
    if (method == 1) {
      EXPECT_EQ(kt == 1, om_tot == 0);
      EXPECT_NEAR(static_cast<double>(p->rrc.del_om_fmax_compress), static_cast<double>(del),
                  1e-15);
    }
    // Above fmax the held magnitude: with the bin's own phase, or on the line up to a real
    // Nyquist bin with the sign of cos(n_tot pi).
    for (long k = kt; k <= kN / 2; ++k) {
      const Cx want = method == 0  ? filt(*plain, k) * (held / std::abs(filt(*plain, k)))
                      : k < kN / 2 ? std::polar(held, om_save + del * (k - kt + 1))
                                   : Cx(n_tot % 2 == 0 ? held : -held);
      ASSERT_LT(std::abs(filt(*p, k) - want), 1e-13L * held) << k;
    }
  }
}

// calc_minp on the spectrum x, in the filter arrays, out in the low-pass arrays; the
// console must hold any keys it waits for.
std::vector<Cx> run_minp(Console& con, const std::function<Cx(long)>& x) {
  auto p = started_program(kRate, kN);
  Reflection& r = p->rrc;
  for (long k = 0; k < kN; ++k) r.Re_rrc_filt[k] = x(k).real(), r.Im_rrc_filt[k] = x(k).imag();
  calc_minp(*p, con, r.Re_rrc_filt.data(), r.Im_rrc_filt.data(), r.lpfr.data(), r.lpfi.data());
  std::vector<Cx> out(kN);
  for (long k = 0; k < kN; ++k) out[k] = Cx(r.lpfr[k], r.lpfi[k]);
  return out;
}

TEST(MinimumPhase, SpectraComeBackWithTheirMagnitudeAndACausalCepstrum) {
  // {input, its minimum-phase twin}: a constant magnitude with an odd phase, a pure delay,
  // the maximum-phase 0.6 - z^-1, and a smooth log magnitude with a wandering phase, whose
  // twin is the exponential of the causal half of that log magnitude's cepstrum, doubled.
  const auto s = [](long k) { return 0.1L * turn(k, 1) - 0.07L * turn(k, 2) + 0.05L * turn(k, 5); };
  using F = std::function<Cx(long)>;
  const std::pair<F, F> cases[] = {
      {[](long k) { return std::polar(2.5L, 0.3L * k); }, [](long) { return Cx(2.5L); }},
      {[](long k) { return turn(k, 17); }, [](long) { return Cx(1.0L); }},
      {[](long k) { return 0.6L - turn(k, 1); }, [](long k) { return 1.0L - 0.6L * turn(k, 1); }},
      {[&](long k) { return std::polar(std::exp(s(k).real()), 0.01L * k * k); },
       [&](long k) { return std::exp(s(k)); }}};
  for (const auto& c : cases) {
    ScriptedConsole con;
    std::vector<Cx> log_out(kN);
    const std::vector<Cx> out = run_minp(con, c.first);
    EXPECT_EQ(con.transcript(), "");
    for (long k = 0; k < kN; ++k) {
      ASSERT_LT(std::abs(out[k] - c.second(k)), 1e-15L) << k;
      log_out[k] = std::log(out[k]);
    }
    // The complex cepstrum of a minimum-phase spectrum vanishes at negative quefrencies.
    const std::vector<Cx> cep = direct_dft(log_out, +1);
    for (long i = kN / 2 + 1; i < kN; ++i) ASSERT_LT(std::abs(cep[i]) / kN, 1e-15L) << i;
  }
}

TEST(MinimumPhase, ZeroBinAndAsymmetricMagnitudeAreReportedWithTheirCounts) {
  std::vector<Cx> x(kN, Cx(1.0L)), log_mag(kN);
  x[0] = 0, x[3] = 4, x[40] = 0.5L;  // bins N-3 and N-40 stay 1; bin 0 has no mirror
  for (long k = 0; k < kN; ++k) log_mag[k] = std::log(std::max(std::abs(x[k]), 1e-50L));
  long count = 0;
  for (const Cx& c : direct_dft(log_mag, +1)) count += std::fabs(c.imag()) > 1e-5L;
  ScriptedConsole con("kx");
  const std::vector<Cx> out = run_minp(con, [&](long k) { return x[k]; });
  EXPECT_EQ(con.transcript(),
            "Warning - log magnitude was limited 1 times in calc_minp\n"
            "Press any A/N key to continue:\nWarning - imaginary part in inverse log magnitude "
            "calculation " +
                std::to_string(count) + " times\nPress any A/N key to continue:\n");
  // The floored bin keeps its floor, as the magnitude keeps its mirror-symmetric part.
  EXPECT_NEAR(static_cast<double>(std::log10(std::abs(out[0]))), -50.0, 1e-9);
}

TEST(MinimumPhase, TransformPhaseWrapsIntoMinusPiToPi) {
  // {phase, wrapped} in units of pi; an infinite phase returns rather than loop for ever.
  const long double cases[][2] = {{1.5, -.5}, {-1.5, .5}, {1, 1}, {-1, -1}, {7.25, -.75}, {.1, .1}};
  for (const auto& c : cases) {
    long double v = c[0] * kPi;
    transform_phase(&v, kPi);
    EXPECT_NEAR(static_cast<double>(v / kPi), static_cast<double>(c[1]), 1e-17) << c[0];
  }
  long double v = INFINITY;
  transform_phase(&v, kPi);
  EXPECT_TRUE(std::isinf(v));
}

}  // namespace
}  // namespace refx
