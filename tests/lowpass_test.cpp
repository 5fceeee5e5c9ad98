// The optional low-pass responses and the stand-alone low-pass applications A and B.
#include "reflection/lowpass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "reflection/rrc_actions.h"
#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

void enable_lpf(Program& p, int type, long order, long double f0) {
  p.rrc.use_lpf_rrc = 1;
  p.rrc.rrc_lpf_type = type;
  p.rrc.n_lpf = order;
  p.rrc.f0_lpf = f0;
}

void fill_random(Samples& y, long n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (long i = 0; i < n; ++i) y[i] = u(gen);
}

std::string run(void (*action)(Program&, Console&), Program& p, const std::string& script) {
  ScriptedConsole con(script);
  action(p, con);
  EXPECT_TRUE(con.script_done());
  return con.transcript();
}

// The response an application of A put into slot 2 when slot 1 held a unit impulse.
std::vector<Cx> applied_response(const Program& p, long n) {
  return direct_dft_real(p.wf.y2a.data(), n, -1);
}

TEST(Lowpass, DigitalOrderTwoHalvesAtF0AndGivesOneFifthAtTwiceF0) {
  auto p = started_program(25600.0L, 256);  // bins 100 Hz apart
  enable_lpf(*p, 0, 2, 100.0L);
  const long bins[] = {0, 1, 2, 255, 254};
  const double expected[] = {1.0, 0.5, 0.2, 0.5, 0.2};
  for (int i = 0; i < 5; ++i) {
    const cmplx l = lpf_value(*p, bins[i]);
    EXPECT_NEAR(static_cast<double>(l.re), expected[i], 1e-17) << bins[i];
    EXPECT_EQ(l.im, 0.0L);
  }
  // Through key A on a unit impulse the same response comes out of the waveform.
  p->wf.y1a[0] = 1;
  EXPECT_EQ(run(apply_lpf, *p, "1\n2\nk"),
            "Enter waveform to apply lpf (1 or 2):\n"
            "Enter destination for waveform after applying lpf (1 or 2):\n"
            "lpf was applied to waveform 1 and result stored in waveform 2\n"
            "Press any A/N key to continue\n");
  std::vector<Cx> h = applied_response(*p, 256);
  for (long k = 0; k < 256; ++k) {
    const long double f = (k <= 128 ? k : k - 256) * 100.0L;
    const long double expect = 1.0L / (1.0L + (f / 100.0L) * (f / 100.0L));
    EXPECT_NEAR(static_cast<double>(h[k].real()), static_cast<double>(expect), 1e-15) << k;
    EXPECT_NEAR(static_cast<double>(h[k].imag()), 0.0, 1e-15) << k;
  }
}

// The sampled, delt-scaled analog response, summed in closed form: each pole gives a
// geometric series of N terms.
std::vector<Cx> butterworth_closed_form(long order, long double f0, long double delt, long n) {
  const long double omega0 = 2 * kPi * f0;
  std::vector<Cx> poles(order), residues(order);
  for (long i = 0; i < order; ++i)
    poles[i] = std::polar(omega0, kPi / 2 + kPi * (2 * i + 1) / (2 * order));
  for (long i = 0; i < order; ++i) {
    Cx r = std::pow(Cx(omega0), static_cast<int>(order));
    for (long j = 0; j < order; ++j)
      if (j != i) r /= poles[i] - poles[j];
    residues[i] = r;
  }
  std::vector<Cx> h(n);
  for (long k = 0; k < n; ++k) {
    const Cx turn = std::polar(1.0L, -2 * kPi * k / n);
    Cx sum = 0;
    for (long j = 0; j < order; ++j) {
      const Cx q = std::exp(poles[j] * delt);
      sum += residues[j] * (1.0L - std::pow(q, static_cast<int>(n))) / (1.0L - q * turn);
    }
    h[k] = delt * sum;
  }
  return h;
}

TEST(Lowpass, ButterworthMatchesTheSampledAnalogResponse) {
  const long n = 4096;
  auto p = started_program(1048576.0L, n);  // bins 256 Hz apart
  const long double f0 = 2560.0L;           // bin 10
  for (long order : {1L, 2L, 5L, 10L}) {
    SCOPED_TRACE(order);
    ScriptedConsole con;
    std::vector<long double> re(n), im(n);
    calculate_butterworth_lpf(*p, con, order, f0, re.data(), im.data());
    EXPECT_EQ(con.transcript(), "");
    std::vector<Cx> expected = butterworth_closed_form(order, f0, p->delt, n);
    for (long k = 0; k < n; ++k)
      ASSERT_LT(static_cast<double>(std::abs(Cx(re[k], im[k]) - expected[k])), 1e-12) << k;
    // Close to the analog response: 1 at DC, 1/sqrt(2) at f0.
    EXPECT_NEAR(static_cast<double>(re[0]), 1.0, 0.01);
    EXPECT_NEAR(static_cast<double>(std::hypot(re[10], im[10])), 1.0 / std::sqrt(2.0), 0.01);
    // A decade above f0 the analog response is 10^-order; sampling leaves a small floor.
    EXPECT_LT(static_cast<double>(std::hypot(re[100], im[100])), std::pow(0.1, order) * 1.1 + 1e-5);
  }
}

TEST(Lowpass, LowpassThenInverseReturnsTheWaveformForEveryType) {
  const long n = 1024;
  for (int type : {0, 1, 2}) {
    SCOPED_TRACE(type);
    auto p = started_program(1048576.0L, n);
    enable_lpf(*p, type, 4, 20000.0L);
    fill_random(p->wf.y1a, n, 11);
    p->wf.i_shift_wf1 = 5;
    p->wf.scale_wf1 = 2;
    p->wf.i_truncatet2 = 17;
    run(apply_lpf, *p, "1\n2\nk");
    EXPECT_EQ(p->wf.i_shift_wf2, 5);
    EXPECT_EQ(p->wf.scale_wf2, 2);
    EXPECT_EQ(p->wf.i_truncatet2, n);
    long double change = 0;
    for (long i = 0; i < n; ++i) change = std::max(change, std::fabs(p->wf.y2a[i] - p->wf.y1a[i]));
    EXPECT_GT(change, 0.1L);  // the filter did something
    EXPECT_EQ(run(apply_inverse_lpf, *p, "2\n2\nk"),
              "Enter waveform to apply inverse lpf (1 or 2):\n"
              "Enter destination for waveform after applying inverse lpf (1 or 2):\n"
              "Inverse lpf was applied to waveform 2 and result stored in waveform 2\n"
              "Press any A/N key to continue\n");
    for (long i = 0; i < n; ++i)
      ASSERT_NEAR(static_cast<double>(p->wf.y2a[i]), static_cast<double>(p->wf.y1a[i]), 1e-12) << i;
  }
}

TEST(Lowpass, InverseLimitingHoldsTheMagnitudeOfTheLastBinWithinFmax) {
  const long n = 4096;
  auto p = started_program(1048576.0L, n);  // bins 256 Hz apart
  enable_lpf(*p, 1, 3, 2560.0L);
  p->rrc.rrc_lim_lpf_inv = 1;
  p->rrc.fmax_rrc_lim_lpf_inv = 1000.0L;  // bins 0..3 lie within
  p->wf.y1a[0] = 1;
  run(apply_inverse_lpf, *p, "1\n2\nk");
  std::vector<Cx> inv = applied_response(*p, n);  // 1 / L as applied
  const Cx l3(p->rrc.lpfr[3], p->rrc.lpfi[3]);
  for (long k = 0; k < n; ++k) {
    const Cx l(p->rrc.lpfr[k], p->rrc.lpfi[k]);
    const long s = k <= n / 2 ? k : n - k;
    const Cx expected =
        s <= 3 ? 1.0L / l : 1.0L / (std::abs(l3) * l / std::abs(l));  // held size, own phase
    // Far above f0 the response is small, and its rounding relatively larger.
    ASSERT_LT(static_cast<double>(std::abs(inv[k] - expected) / std::abs(expected)), 1e-10) << k;
  }
  // At 5 kHz the inverse is 1/|L| of the bin at 768 Hz, not the far larger unlimited inverse.
  EXPECT_NEAR(static_cast<double>(std::abs(inv[20]) * std::abs(l3)), 1.0, 1e-12);
  EXPECT_GT(1.0L / std::hypot(p->rrc.lpfr[20], p->rrc.lpfi[20]), 5.0L * std::abs(inv[20]));
}

TEST(Lowpass, InverseOfAZeroResponseBinIsRefusedAndTheDestinationKept) {
  const long n = 256;
  auto p = started_program(65536.0L, n);  // bins 256 Hz apart
  enable_lpf(*p, 0, 20000, 256.0L);       // (2)^20000 overflows: L is exactly 0 from bin 2
  fill_random(p->wf.y1a, n, 3);
  fill_random(p->wf.y2a, n, 4);
  const Samples before = p->wf.y2a;
  p->wf.i_shift_wf1 = 4;
  p->wf.scale_wf1 = 2;
  p->wf.i_shift_wf2 = 9;
  p->wf.i_truncatet2 = 100;
  p->wf.scale_wf2 = 3;
  EXPECT_EQ(run(apply_inverse_lpf, *p, "1\n2\nk"),
            "Enter waveform to apply inverse lpf (1 or 2):\n"
            "Enter destination for waveform after applying inverse lpf (1 or 2):\n"
            "Error - compression filter or low-pass response has a zero bin; operation not "
            "completed\n"
            "Press any A/N key to continue\n");
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_TRUE(p->wf.y2a == before);
  EXPECT_EQ(p->wf.i_shift_wf2, 9);
  EXPECT_EQ(p->wf.i_truncatet2, 100);
  EXPECT_EQ(p->wf.scale_wf2, 3);
  // With limiting the zero bins lie above fmax and take the held, non-zero magnitude.
  p->rrc.rrc_lim_lpf_inv = 1;
  p->rrc.fmax_rrc_lim_lpf_inv = 300;
  run(apply_inverse_lpf, *p, "1\n2\nk");
  EXPECT_EQ(p->rrc.rrc_error, 1);  // the zero bin itself has no phase to keep
  // A plain application of the same response is fine: nothing is divided.
  run(apply_lpf, *p, "1\n2\nk");
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->wf.i_truncatet2, n);
}

}  // namespace
}  // namespace refx
