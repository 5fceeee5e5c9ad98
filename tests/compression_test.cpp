// Compression, de-compression, the optional low-pass responses and their stand-alone
// applications, which share the same steps; and the settings they use, with their checks.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "reflection/compression.h"
#include "reflection/lowpass.h"
#include "reflection/rrc_actions.h"
#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

using Action = void (*)(Program&, Console&);

bool has(const std::string& text, const char* part) { return text.find(part) != text.npos; }

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// exp(-j 2 pi k t / n): a delay of t samples on bin k.
Cx turn(long k, long double t, long n) {
  return std::polar(1.0L, -2 * kPi * k * t / n);
}

std::string run(Action action, Program& p, const std::string& script) {
  ScriptedConsole con(script);
  action(p, con);
  EXPECT_TRUE(con.script_done());
  return con.transcript();
}

// Random samples; with pulse, a pulse whose spectrum stays well away from zero.
void fill(Samples& y, long n, unsigned seed, bool pulse = false) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (long i = 0; i < n; ++i) y[i] = pulse ? (i < 40) * 0.01 * u(gen) : u(gen);
  if (pulse) y[0] += 1, y[3] += 0.45L, y[7] -= 0.25L;
}

// A program whose filter changes nothing (the reciprocal of a unit impulse), with the
// interval set to the whole waveform and random samples in both slots.
std::unique_ptr<Program> unit_filter_program(long n) {
  auto p = started_program(256.0L * n, n);  // bins 256 Hz apart
  for (long k = 0; k < n; ++k) p->rrc.Re_rrc_filt[k] = 1;
  p->rrc.rrc_filt = 3, p->rrc.n1_rrc = 1, p->rrc.n2_rrc = n, p->rrc.rrc_epzc_enable = 0;
  fill(p->wf.y1a, n, 8), fill(p->wf.y2a, n, 9);
  return p;
}

TEST(Compression, ReferenceCompressedWithItsOwnFilterIsAUnitImpulse) {
  for (bool pulse : {true, false}) {  // white noise comes much closer to a zero bin
    auto p = started_program();       // 4096 points
    fill(p->wf.y1a, 4096, 1, pulse);
    run(generate_filter, *p, "1\nk"), run(compress_waveform, *p, "1\n2\nk");
    for (long i = 0; i < 4096; ++i) ASSERT_LT(std::fabs(p->wf.y2a[i] - (i == 0)), 1e-18L) << i;
  }
}

TEST(Compression, EachOperationIsUndoneByItsInverseWithEveryLowpassType) {
  // {forward, inverse, the inverse's report}: de-compression over 1..N drops the mean.
  const std::tuple<Action, Action, const char*> pairs[] = {
      {compress_waveform, decompress_waveform, "\nWaveform 2 was de-compressed to waveform 2\n"},
      {apply_lpf, apply_inverse_lpf, "applied to waveform 2 and result stored in waveform 2\n"}};
  for (auto [forward, inverse, report] : pairs)
    for (int lpf_type : {-1, 0, 1, 2}) {
      const long n = 1024;
      auto p = unit_filter_program(n);  // then a filter from a pulse
      fill(p->wf.y2a, n, 3, true), run(generate_filter, *p, "2\nk");
      p->rrc.use_lpf_rrc = lpf_type >= 0, p->rrc.rrc_lpf_type = lpf_type, p->rrc.n_lpf = 2;
      p->rrc.f0_lpf = 25000, p->wf.i_shift_wf1 = 5, p->wf.scale_wf1 = 2, p->wf.i_truncatet2 = 17;
      const Samples original = p->wf.y1a;
      run(forward, *p, "1\n2\nk");  // the destination takes the source's marks
      EXPECT_EQ(p->wf.i_shift_wf2 * 10 + p->wf.scale_wf2 + p->wf.i_truncatet2, 52 + n);
      EXPECT_TRUE(has(run(inverse, *p, "2\n2\nk"), report));
      const long double m =
          (inverse == decompress_waveform) * std::accumulate(&original[0], &original[n], 0.0L) / n;
      for (long i = 0; i < n; ++i) ASSERT_NEAR(p->wf.y2a[i], original[i] - m, 1e-12L) << lpf_type;
    }
}

TEST(Compression, SourceTruncationHonouredOnlyIntoTheOtherSlotAndImaginaryPartReported) {
  auto p = unit_filter_program(256);
  const Samples original = p->wf.y1a;
  p->wf.i_truncatet1 = 60, run(compress_waveform, *p, "1\n2\nk");
  for (long i = 0; i < 256; ++i) ASSERT_NEAR(p->wf.y2a[i], i < 60 ? original[i] : 0, 1e-17L);
  run(compress_waveform, *p, "1\n1\nk");  // onto itself the destination's is cleared first
  for (long i = 0; i < 256; ++i) ASSERT_NEAR(p->wf.y1a[i], original[i], 1e-17L) << i;
  EXPECT_EQ(p->wf.i_truncatet1, 256);
  // A unit impulse through a filter whose bin 3 is j d: an imaginary part of size d / 256 in
  // the result, reported above 1e-8.
  for (long double d : {256 * 2e-8L, 256 * 5e-9L}) {
    Samples impulse{};
    impulse[0] = 1, p->wf.y1a = impulse, p->rrc.Im_rrc_filt[3] = d;
    const std::string said = run(compress_waveform, *p, "1\n2\nk");
    EXPECT_EQ(has(said, "Warning - imaginary part in compressed waveform 2\nPress any"),
              d > 256 * 1e-8L);
  }
  p->wf.y1a = original, p->rrc.Im_rrc_filt[3] = 0;
  // A and B take the source up to its truncation point too; D takes all of it.
  const long double mean = std::accumulate(&original[0], &original[256], 0.0L) / 256;
  for (Action action : {apply_lpf, apply_inverse_lpf, decompress_waveform}) {
    p->wf.i_truncatet1 = 60, run(action, *p, "1\n2\nk");
    for (long i = 0; i < 256; ++i)
      ASSERT_NEAR(p->wf.y2a[i],
                  action == decompress_waveform ? original[i] - mean
                  : i < 60                      ? original[i]
                                                : 0,
                  1e-17L)
          << i;
  }
  // A filter bin that is not the conjugate of its mirror: reported, the result still stored.
  p->rrc.Im_rrc_filt[3] = 0.5L;
  EXPECT_TRUE(has(run(decompress_waveform, *p, "2\n1\nk"),
                  "\nWarning - imaginary part in de-compressed waveform 1\nPress any"));
  EXPECT_NE(p->wf.y1a[0], original[0]);
}

TEST(Compression, IntervalIsCutAndShiftedByTheMeanOfItsEndsOrOfItsNeighbours) {
  auto p = started_program(1048576.0L, 16);
  const Samples& y = p->wf.y1a;
  for (long i = 0; i < 16; ++i) p->wf.y1a[i] = 1 + i * i / 8.0L;  // every sample distinct
  // {exclusive, correction, n1, n2, the two samples whose mean is subtracted}
  for (auto [t, c, n1, n2, a, b] : std::initializer_list<std::tuple<int, int, long, long,
       long double, long double>>{{0, 1, 3, 7, y[2], y[6]}, {0, 0, 3, 7, 0, 0}, {1, 1, 1, 5, y[15],
       y[5]}, {1, 1, 4, 16, y[2], y[0]}, {1, 1, 4, 9, y[2], y[9]}, {1, 0, 4, 9, 0, 0}}) {
    p->rrc.rrc_int_type = t, p->rrc.rrc_epzc_enable = c, p->rrc.n1_rrc = n1, p->rrc.n2_rrc = n2;
    gather_interval(*p, y);
    const long double e = 0.5L * a + 0.5L * b;
    EXPECT_EQ(p->rrc.rrc_epzc_value, e) << n1 << " " << n2;
    for (long i = 0; i < 16; ++i)  // kept: inside the interval, or outside it when exclusive
      EXPECT_EQ(Cx(p->work.xinr[i], p->work.xini[i]),
                (i >= n1 - 1 && i < n2) != (t == 1) ? y[i] - e : 0.0L) << n1 << " " << i;
  }
}

// The minimum-phase twin of a real, even magnitude m: the exponential of the causal half
// of the cepstrum of log m, doubled, worked out with the direct transform.
std::vector<Cx> minimum_phase_twin(const std::vector<long double>& m) {
  const long n = static_cast<long>(m.size());
  std::vector<Cx> log_m(n);
  for (long k = 0; k < n; ++k) log_m[k] = std::log(m[k]);
  std::vector<Cx> c = direct_dft(log_m, +1);
  for (long i = 0; i < n; ++i)
    c[i] = i == 0 || i == n / 2 ? c[i].real() : i < n / 2 ? 2 * c[i].real() : 0;
  std::vector<Cx> twin = direct_dft(c, -1);
  for (Cx& z : twin) z = std::exp(z / static_cast<long double>(n));
  return twin;
}

TEST(Compression, FmaxHoldsTheDigitalMagnitudeInBothHalvesOfTheSpectrum) {
  const long n = 256;
  std::vector<long double> held(n);  // the digital response, held above bin 11
  for (long k = 0; k < n; ++k) {
    const long double ratio = std::min({k, n - k, 11L}) * 256.0L / 2000.0L;
    held[k] = 1 / (1 + ratio * ratio * ratio);
  }
  const std::vector<Cx> twin = minimum_phase_twin(held);
  for (int type : {0, 2}) {
    auto p = unit_filter_program(n);
    p->rrc.use_lpf_rrc = 1, p->rrc.rrc_lpf_type = type, p->rrc.n_lpf = 3, p->rrc.f0_lpf = 2000;
    p->rrc.enable_fmax_rrc_decompress = 1, p->rrc.fmax_rrc_decompress = 2816;  // bin 11 exactly
    run(decompress_waveform, *p, "1\n2\nk");
    const std::vector<Cx> out = direct_dft_real(p->wf.y2a.data(), n, -1),
                          in = direct_dft_real(p->wf.y1a.data(), n, -1);
    // De-compression divides by the response: the digital one real, the other its
    // minimum-phase twin (phase and all).
    for (long k = 1; k < n; ++k) {
      const Cx response = type == 0 ? Cx(held[k]) : twin[k];
      ASSERT_LT(std::abs(out[k] / in[k] * response - 1.0L), 1e-12L) << type << " " << k;
    }
  }
  // Compression never holds: it multiplies by the whole minimum-phase response.
  std::vector<long double> whole(n);
  for (long k = 0; k < n; ++k) whole[k] = 1 / (1 + std::pow(std::min(k, n - k) * 0.128L, 3));
  const std::vector<Cx> whole_twin = minimum_phase_twin(whole);
  auto p = unit_filter_program(n);
  p->rrc.use_lpf_rrc = 1, p->rrc.rrc_lpf_type = 2, p->rrc.n_lpf = 3, p->rrc.f0_lpf = 2000;
  p->rrc.enable_fmax_rrc_decompress = 1, p->rrc.fmax_rrc_decompress = 2900;
  run(compress_waveform, *p, "1\n2\nk");
  const std::vector<Cx> out = direct_dft_real(p->wf.y2a.data(), n, -1),
                        in = direct_dft_real(p->wf.y1a.data(), n, -1);
  for (long k = 0; k < n; ++k)
    ASSERT_LT(std::abs(out[k] / in[k] / whole_twin[k] - 1.0L), 1e-12L) << k;
}

TEST(Compression, ZeroDivisorIsRefusedBeforeTheDestinationIsWritten) {
  // {key, zero filter bin, digital order}: a zero filter bin (a filter read from a file may
  // hold one), or a digital response that is exactly 0 from bin 2 on ((2)^20000 overflows),
  // under key D and key B. Bin 0 is never divided by: a zero there is no reason to refuse.
  const Action d = decompress_waveform;
  const std::tuple<Action, long, long> cases[] = {{d, 5, 0}, {d, 0, 0}, {d, -1, 20000},
                                                  {apply_inverse_lpf, -1, 20000}};
  for (auto [action, bin, order] : cases) {
    auto p = unit_filter_program(64);
    if (bin >= 0) p->rrc.Re_rrc_filt[bin] = 0;
    p->rrc.use_lpf_rrc = order > 0, p->rrc.rrc_lpf_type = 0, p->rrc.n_lpf = order;
    const Samples before = p->wf.y2a;
    p->wf.i_shift_wf1 = 2, p->wf.i_truncatet2 = 33, p->wf.scale_wf2 = 1.5L, p->rrc.f0_lpf = 256;
    const bool refused = bin != 0;
    EXPECT_EQ(has(run(action, *p, "1\n2\nk"), "operation not completed\nPress any"), refused);
    EXPECT_EQ(p->rrc.rrc_error, refused);
    EXPECT_EQ(p->wf.y2a == before, refused);
    EXPECT_EQ(p->wf.i_shift_wf2 + p->wf.i_truncatet2 + p->wf.scale_wf2,
              refused ? 34.5L : 66 + p->wf.scale_wf1);
  }
}

TEST(Lowpass, ButterworthFollowsTheAnalogResponseAndItsInverseIsHeldAboveFmax) {
  const long n = 4096;
  auto p = started_program(1048576.0L, n);  // bins 256 Hz apart; f0 at bin 10
  const auto l = [&](long k) { return Cx(p->rrc.lpfr[k], p->rrc.lpfi[k]); };
  const long double dt = 1.0L / 1048576, w0 = 2 * kPi * 2560;
  for (long order : {1L, 2L, 5L, 10L}) {
    ScriptedConsole con;
    calculate_butterworth_lpf(*p, con, order, 2560.0L, p->rrc.lpfr.data(), p->rrc.lpfi.data());
    // The analog filter's poles w0 exp(j pi (2i + order - 1) / (2 order)), i = 1..order, and
    // residues w0^order / prod (p_i - p_j); the N samples of its impulse response, dt apart,
    // summed bin by bin as geometric series.
    std::vector<Cx> pole, residue(order, Cx(std::pow(w0, order)));
    for (long i = 1; i <= order; ++i)
      pole.push_back(std::polar(w0, kPi * (2 * i + order - 1) / (2 * order)));
    for (long i = 0; i < order; ++i)
      for (long j = 0; j < order; ++j)
        if (j != i) residue[i] /= pole[i] - pole[j];
    for (long k = 0; k < n; ++k) {
      Cx h = 0;
      for (long i = 0; i < order; ++i) {
        const Cx q = std::exp(pole[i] * dt);
        h += residue[i] * dt * (1.0L - std::pow(q, n)) / (1.0L - q * turn(k, 1, n));
      }
      ASSERT_LT(std::abs(l(k) - h), 1e-14L) << order << " " << k;
    }
    // At f0 (bin 10) the analog response: 1/sqrt(2), lagging by order times 45 degrees.
    EXPECT_LT(std::abs(l(10) - std::polar(std::sqrt(0.5L), -order * kPi / 4)), 0.02L) << order;
  }
  // The inverse as applied: above fmax the held magnitude of bin 3 and each bin's own phase.
  p->rrc.rrc_lim_lpf_inv = 1, p->rrc.fmax_rrc_lim_lpf_inv = 1000.0L;  // bins 0..3 lie within
  p->rrc.use_lpf_rrc = 1, p->rrc.rrc_lpf_type = 1, p->rrc.n_lpf = 3, p->rrc.f0_lpf = 2560.0L;
  p->wf.y1a[0] = 1, run(apply_inverse_lpf, *p, "1\n2\nk");  // key B on a unit impulse
  const std::vector<Cx> inv = direct_dft_real(p->wf.y2a.data(), n, -1);
  for (long k = 0; k < n; ++k) {
    const Cx want = (std::min(k, n - k) <= 3 ? 1.0L : std::abs(l(k)) / std::abs(l(3))) / l(k);
    ASSERT_LT(std::abs(inv[k] / want - 1.0L), 1e-10L) << k;
  }
}

// The settings, one after another on one program (256 Hz per point: 100 phase steps need
// 25600 Hz), each with what it asks and refuses; an empty text means it asked nothing.
TEST(ReflectionSettings, EntriesAreCheckedAgainstEachOtherAndTheLowpassType) {
  const std::string pause = "Press any A/N key to continue:\n", f0 = "Enter cutoff frequency f0:\n",
      limit = "Error - Butterworth filters only available for orders up to 10\n" + pause,
      order = "Enter order of lpf (positive integer):\n", again = "Error - enter again:\n",
      fmax_d = "Enter fmax for de-compression:\n", lim = "Enter fmax for inverse lpf limiting:\n";
  auto p = started_program();
  const std::tuple<Action, const char*, std::string> steps[] = {
      {toggle_fmax_compress, "0\n25599\n25600\n", "Enter fmax for compression file generation:\n" +
           again + "Value too small for number of phase average points - enter again:\n"},
      {toggle_fmax_compress, "", ""},  // off: asks only while fmax is unset
      {set_fmax_compress, "nan\n100\n3e4\n", "Enter fmax for compression filter generation:\n" +
           again + "fmax too small for number of phase average points - enter again:\n"},
      {set_phase_average_points, "0\n118\n117\n", "Enter number of points for phase averaging:\n" +
           again + "Number of points too big for fmax - enter again:\n"},
      {toggle_lpf, "0\n12\n-5\n1000\n", order + again + f0 + again},  // no limit for digital
      {toggle_lpf, "", ""}, {toggle_lpf, "", ""},  // off and on, no questions
      {toggle_lpf_type, "", ""}, {toggle_lpf_type, "k", limit},  // minimum phase -> digital -> B.
      {set_lpf_parameters, "10\n1000\n", order + f0}, {toggle_fmax_decompress, "3000\n", fmax_d},
      {toggle_lpf_type, "k",
       "Error - fmax in de-compression not implemented for Butterworth filters\n" + pause},
      {toggle_fmax_decompress, "", ""}, {toggle_lpf_type, "", ""},  // -> Butterworth
      {set_lpf_parameters, "12\nk500\n", order + limit + f0},
      {toggle_fmax_decompress, "k",
       "Error -- fmax for de-compression is not implemented for Butterworth filters\n" + pause},
      // A Butterworth type that is off does not matter; fmax is taken without a check.
      {toggle_lpf, "", ""}, {toggle_fmax_decompress, "", ""}, {set_fmax_decompress, "-7\n", fmax_d},
      {toggle_fmax_decompress, "", ""}, {toggle_lpf_type, "", ""},  // -> minimum phase digital
      {toggle_lpf_inverse_limiting, "0\n1000\n", lim + again},
      // Off again; the limit is asked for even while limiting is off.
      {toggle_lpf_inverse_limiting, "", ""}, {set_lpf_inverse_limit, "2000\n", lim}};
  for (const auto& [action, script, text] : steps) EXPECT_EQ(run(action, *p, script), text);
  p->rrc.rrc_error = 1;
  EXPECT_EQ(run(set_interval, *p, "0\n4097\n5\n5\n3\n4097\n4096\n"),
            "Enter first point of interval (starting at 1):\n" + again + again +
                "Enter last point of interval (starting at 1):\n" + again + again + again);
  const Reflection& r = p->rrc;
  EXPECT_EQ(std::make_tuple(r.fmax_rrc_compress, r.n_del_om_fmax_compress, r.n_lpf, r.f0_lpf,
      r.rrc_lpf_type, r.use_lpf_rrc, r.fmax_rrc_decompress, r.fmax_rrc_lim_lpf_inv,
      r.rrc_lim_lpf_inv, r.n1_rrc, r.n2_rrc, r.rrc_error),
      std::make_tuple(3e4L, 117, 10L, 500.0L, 2, 0, -7.0L, 2000.0L, 0, 5L, 4096L, 0));
}

}  // namespace
}  // namespace refx
