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
  p->wf.y2a[0] += 0.5L, p->wf.i_truncatet2 = 10;
  p->rrc.enable_fmax_rrc_compress = fmax > 0, p->rrc.fmax_rrc_compress = fmax;
  p->rrc.i_constant_phase_slope = method, p->rrc.phase_comp_fmax_compress = factor;
  // Stale values of an earlier generation must not be used.
  p->rrc.del_om_fmax_compress = 123, p->rrc.om_save_fmax_rrc_compress = 5;
  p->rrc.i_save_fmax_rrc_compress = 7, p->rrc.sign_om_tot_fmax_rrc_compress = 0;
  ScriptedConsole con("0\n3\n2\nk");
  generate_filter(*p, con);
  std::string again = "Error - enter again:\n", done = "Compression filter has been generated\n";
  EXPECT_EQ(con.transcript(), "Enter waveform number to generate filter (1 or 2):\n" + again +
                                  again + done + "Press any A/N key to continue\n");
  return p;
}

const auto filt = [](auto& p, long k) { return Cx(p.rrc.Re_rrc_filt[k], p.rrc.Im_rrc_filt[k]); };

const auto same = [](const Reflection& a, const Reflection& b) {
  return a.Re_rrc_filt == b.Re_rrc_filt && a.Im_rrc_filt == b.Im_rrc_filt;
};

const auto wrapped = [](long double d) { return std::remainder(d, 2.0L * kPi); };

// z^-t on bin k.
const auto turn = [](long k, long double t) { return std::polar(1.0L, -2 * kPi * k * t / kN); };

TEST(FilterGeneration, ReciprocalAlsoWithFmaxAtNyquistZeroBinRefusedAndMinimumPhase) {
  auto q = generated(3);
  std::vector<Cx> x = direct_dft_real(q->wf.y2a.data(), kN, -1);
  for (long k = 0; k < kN; ++k) ASSERT_LT(std::abs(filt(*q, k) * x[k] - 1.0L), 1e-15L) << k;
  for (auto [method, fmax] : {std::pair(0, kRate / 2), std::pair(1, 1e12L)})
    EXPECT_TRUE(same(generated(3, method, fmax)->rrc, q->rrc)) << method;
  // [1, 1, 0, ...] in waveform 1: only the Nyquist bin is exactly 0. The filter is kept.
  auto before = std::make_unique<Reflection>(q->rrc);
  q->wf.y1a[0] = q->wf.y1a[1] = 1;
  auto gen1 = [&] { ScriptedConsole c("1\nk"); generate_filter(*q, c); return c.transcript(); };
  EXPECT_NE(gen1().find("zero bin\nError -- compression filter was not generated\n"),
            std::string::npos);
  EXPECT_EQ(q->rrc.rrc_error * 10 + q->rrc.rrc_filt, 12);
  EXPECT_TRUE(same(q->rrc, *before));
  // The reference 0.2 z^-2 + z^-5 with the minimum-phase option: 1 / (1 + 0.2 z^-3).
  q->wf.y1a[0] = q->wf.y1a[1] = 0, q->wf.y1a[2] = 0.2L, q->wf.y1a[5] = 1, q->rrc.minp_option = 1;
  gen1();
  for (long k = 0; k < kN; ++k)
    ASSERT_LT(std::abs(filt(*q, k) * (1.0L + 0.2L * turn(k, 3)) - 1.0L), 1e-15L) << k;
}

TEST(FilterGeneration, ReplacedBinsHoldTheMagnitudeWithTheirOwnOrALinearPhase) {
  // {seed, method, transition bin, steps below it, compensation factor}: maintain phase;
  // constant slope over the default 100 steps with and without a factor, over fewer steps
  // than asked, and over none at all (a line from the real DC bin that ends at zero).
  using Case = std::tuple<unsigned, int, long, long, long double>;
  const Case cases[] = {{4, 0, 201, 0, 1}, {5, 1, 201, 100, 1}, {5, 1, 201, 100, 0.7L},
                        {6, 1, 51, 50, 1},  {7, 1, 1, 0, 1}};
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
    EXPECT_TRUE(method == 0 || (kt == 1) == (om_tot == 0));
    EXPECT_TRUE(method == 0 || std::fabs(p->rrc.del_om_fmax_compress - del) < 1e-15L);
    // Above fmax the held magnitude: with the bin's own phase, or on the line up to a real
    // Nyquist bin with the sign of cos(n_tot pi).
    for (long k = kt; k <= kN / 2; ++k) {
      const Cx own = filt(*plain, k) * (held / std::abs(filt(*plain, k))),
               line = k < kN / 2 ? std::polar(held, om_save + del * (k - kt + 1)) : Cx(held);
      const Cx want = method == 0 ? own : k < kN / 2 || n_tot % 2 == 0 ? line : -line;
      ASSERT_LT(std::abs(filt(*p, k) - want), 1e-13L * held) << k;
    }
  }
}

// The filter of a unit impulse at sample d is the phase line exp(j 2 pi k d / N), so the
// constant-slope extension has a closed form. {d, transition bin, factor, n_tot}: the saved
// phase between pi and 3 pi / 2; the averaged steps crossing the atan branch cut; an advance,
// whose line ends at -pi (n_tot odd and negative: a Nyquist bin of -1); a compensation factor,
// which leaves the line short of a multiple of pi, so that the rescaling shows.
TEST(FilterGeneration, ConstantSlopeOnAPhaseLineInClosedForm) {
  using Case = std::tuple<long, long, long double, long>;
  for (auto [d, kt, factor, n_tot] :
       {Case(5, 121, 1, 5), Case(5, 201, 1, 3), Case(-3, 121, 1, -1), Case(5, 121, 0.7L, 4)}) {
    auto p = started_program(kRate, kN);
    p->wf.y1a[(d + kN) % kN] = 1;
    p->rrc.enable_fmax_rrc_compress = 1, p->rrc.fmax_rrc_compress = (kt - 1) * 1024.0L + 500;
    p->rrc.phase_comp_fmax_compress = factor;
    ScriptedConsole con("1\nk");
    generate_filter(*p, con);
    const long double step = 2 * kPi * d / kN;
    long double om_save = std::remainder(step * (kt - 1), 2 * kPi);
    if (om_save < -kPi / 2) om_save += 2 * kPi;  // into (-pi/2, 3pi/2)
    const long double om_tot = om_save + factor * step * (kN / 2 - kt + 1);
    EXPECT_EQ(std::lround(om_tot / kPi), n_tot);
    const long double del = factor * step * n_tot * kPi / om_tot;
    for (long k = kt; k < kN / 2; ++k)
      ASSERT_LT(std::abs(filt(*p, k) - std::polar(1.0L, om_save + del * (k - kt + 1))), 1e-15L)
          << d << " " << k;
    EXPECT_LT(std::abs(filt(*p, kN / 2) - Cx(n_tot % 2 == 0 ? 1 : -1)), 1e-15L) << d;
  }
}

// Truncation towards zero, then a step away from zero when the rest is half or more.
TEST(FilterGeneration, RoundLongTakesHalvesAwayFromZero) {
  const long double cases[][2] = {{2.5L, 3},    {-2.5L, -3},    {0.5L, 1}, {-0.5L, -1},
                                  {2.4999L, 2}, {-1.4999L, -1}, {7, 7},    {0.25L, 0}};
  for (const auto& c : cases) EXPECT_EQ(Round_long(c[0]), c[1]) << static_cast<double>(c[0]);
}

// calc_minp on the spectrum x, in the filter arrays, out in the low-pass arrays; the
// script must hold any keys it waits for. Gives the result and what was printed.
using F = std::function<Cx(long)>;

std::pair<std::vector<Cx>, std::string> run_minp(const char* script, const F& x) {
  ScriptedConsole con(script);
  auto p = started_program(kRate, kN);
  Reflection& r = p->rrc;
  for (long k = 0; k < kN; ++k) r.Re_rrc_filt[k] = x(k).real(), r.Im_rrc_filt[k] = x(k).imag();
  calc_minp(*p, con, r.Re_rrc_filt.data(), r.Im_rrc_filt.data(), r.lpfr.data(), r.lpfi.data());
  std::vector<Cx> out(kN);
  for (long k = 0; k < kN; ++k) out[k] = Cx(r.lpfr[k], r.lpfi[k]);
  return {out, con.transcript()};
}

TEST(MinimumPhase, SpectraComeBackAsTheirMinimumPhaseTwins) {
  // {input, its minimum-phase twin}: a constant magnitude with an odd phase, a pure delay,
  // the maximum-phase 0.6 - z^-1, and a smooth log magnitude with a wandering phase, whose
  // twin is the exponential of the causal half of that log magnitude's cepstrum, doubled.
  const auto s = [](long k) { return 0.1L * turn(k, 1) - 0.07L * turn(k, 2) + 0.05L * turn(k, 5); };
  const std::pair<F, F> cases[] = {
      {[](long k) { return std::polar(2.5L, 0.3L * k); }, [](long) { return Cx(2.5L); }},
      {[](long k) { return turn(k, 17); }, [](long) { return Cx(1.0L); }},
      {[](long k) { return 0.6L - turn(k, 1); }, [](long k) { return 1.0L - 0.6L * turn(k, 1); }},
      {[&](long k) { return std::polar(std::exp(s(k).real()), 0.01L * k * k); },
       [&](long k) { return std::exp(s(k)); }}};
  for (const auto& c : cases) {
    const auto [out, text] = run_minp("", c.first);
    EXPECT_EQ(text, "");
    for (long k = 0; k < kN; ++k) ASSERT_LT(std::abs(out[k] - c.second(k)), 1e-15L) << k;
  }
}

TEST(MinimumPhase, ZeroBinAndAsymmetricMagnitudeAreReportedWithTheirCounts) {
  std::vector<Cx> x(kN, Cx(1.0L)), log_mag(kN);
  // Bins N-3 and N-40 stay 1; bin 0 has no mirror. Bins 0 and 1 are at most 1e-50: floored.
  x[0] = 1e-60L, x[1] = 1e-50L, x[3] = 4, x[40] = 0.5L;
  for (long k = 0; k < kN; ++k) log_mag[k] = std::log(std::max(std::abs(x[k]), 1e-50L));
  long count = 0;
  for (const Cx& c : direct_dft(log_mag, +1)) count += std::fabs(c.imag()) > 1e-5L;
  const auto [out, text] = run_minp("kx", [&](long k) { return x[k]; });
  const std::string pause = "\nPress any A/N key to continue:\n";
  EXPECT_EQ(text, "Warning - log magnitude was limited 2 times in calc_minp" + pause +
                      "Warning - imaginary part in inverse log magnitude calculation " +
                      std::to_string(count) + " times" + pause);
  // The floored bin keeps its floor, as the magnitude keeps its mirror-symmetric part.
  EXPECT_NEAR(static_cast<double>(std::log10(std::abs(out[0]))), -50.0, 1e-9);
}

TEST(MinimumPhase, TransformPhaseWrapsIntoMinusPiToPi) {
  // {phase, wrapped} in units of pi; an infinite phase returns rather than loop for ever.
  const long double cases[][2] = {{1.5, -.5}, {-1.5, .5}, {1, 1}, {-1, -1}, {7.25, -.75}, {.1, .1}};
  const auto wrap = [](long double v) { return transform_phase(&v, kPi), v; };
  for (const auto& c : cases) EXPECT_LT(std::fabs(wrap(c[0] * kPi) / kPi - c[1]), 1e-17L) << c[0];
  EXPECT_TRUE(std::isinf(wrap(INFINITY)));
}

}  // namespace
}  // namespace refx
