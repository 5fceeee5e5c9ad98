// Compression and de-compression, from filter generation through to the reflection
// removed waveform.
#include "reflection/compression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <vector>

#include "reflection/lowpass.h"
#include "reflection/rrc_actions.h"
#include "support/direct_dft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

std::string run(void (*action)(Program&, Console&), Program& p, const std::string& script) {
  ScriptedConsole con(script);
  action(p, con);
  EXPECT_TRUE(con.script_done());
  return con.transcript();
}

// A reference pulse whose spectrum stays well away from zero.
void fill_reference(Samples& y, long n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (long i = 0; i < n; ++i) y[i] = 0;
  y[0] = 1;
  y[3] = 0.45L;
  y[7] = -0.25L;
  for (long i = 1; i < 40; ++i) y[i] += 0.01L * u(gen);
}

void fill_random(Samples& y, long n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (long i = 0; i < n; ++i) y[i] = u(gen);
}

// A filter that changes nothing: the reciprocal of a unit impulse.
void unit_filter(Program& p) {
  for (long k = 0; k < p.wf.nptst; ++k) {
    p.rrc.Re_rrc_filt[k] = 1;
    p.rrc.Im_rrc_filt[k] = 0;
  }
  p.rrc.rrc_filt = 3;
}

long double mean(const Samples& y, long n) {
  long double sum = 0;
  for (long i = 0; i < n; ++i) sum += y[i];
  return sum / n;
}

TEST(Compression, ReferenceCompressedWithItsOwnFilterIsAUnitImpulse) {
  // A pulse-like reference, and white noise whose spectrum comes much closer to zero.
  for (int kind : {0, 1}) {
    auto p = started_program();  // 4096 points
    const long n = p->wf.nptst;
    if (kind == 0)
      fill_reference(p->wf.y1a, n, 1);
    else
      fill_random(p->wf.y1a, n, 1);
    run(generate_filter, *p, "1\nk");
    EXPECT_EQ(run(compress_waveform, *p, "1\n2\nk"),
              "Enter waveform to compress (1 or 2):\n"
              "Enter destination for compressed waveform (1 or 2):\n"
              "Waveform 1 was compressed to waveform 2\n"
              "Press any A/N key to continue\n");
    long double error = std::fabs(p->wf.y2a[0] - 1);
    for (long i = 1; i < n; ++i) error = std::max(error, std::fabs(p->wf.y2a[i]));
    std::cout << "self-compression impulse error (4096 points, " << (kind == 0 ? "pulse" : "noise")
              << " reference): " << static_cast<double>(error) << "\n";
    EXPECT_LT(error, 1e-18L);
    EXPECT_EQ(p->rrc.rrc_error, 0);
  }
}

TEST(Compression, ReflectionIsRemovedByDecompressingTheDirectArrival) {
  auto p = started_program();
  const long n = p->wf.nptst;
  fill_reference(p->wf.y1a, n, 2);
  const Samples reference = p->wf.y1a;
  run(generate_filter, *p, "1\nk");
  // The measured waveform: the pulse and a reflection of 0.4 arriving 100 points later.
  for (long i = 0; i < n; ++i) p->wf.y2a[i] = reference[i] + 0.4L * reference[(i + n - 100) % n];
  run(compress_waveform, *p, "2\n1\nk");
  EXPECT_NEAR(static_cast<double>(p->wf.y1a[0]), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(p->wf.y1a[100]), 0.4, 1e-15);
  for (long i = 1; i < n; ++i)
    if (i != 100) {
      ASSERT_NEAR(static_cast<double>(p->wf.y1a[i]), 0.0, 1e-15) << i;
    }

  run(set_interval, *p, "1\n50\n");
  p->rrc.rrc_epzc_enable = 0;
  EXPECT_EQ(run(decompress_waveform, *p, "1\n2\nk"),
            "Enter waveform to de-compress (1 or 2):\n"
            "Enter destination for de-compressed waveform (1 or 2):\n"
            "Waveform 1 was de-compressed to waveform 2\n"
            "Press any A/N key to continue\n");
  const long double m = mean(reference, n);
  for (long i = 0; i < n; ++i)
    ASSERT_NEAR(static_cast<double>(p->wf.y2a[i]), static_cast<double>(reference[i] - m), 1e-14)
        << i;
}

TEST(Compression, CompressThenDecompressOverTheWholeWaveformReturnsItMinusItsMean) {
  // Without a low-pass filter and with each low-pass type: D divides by what C multiplied.
  for (int lpf_type : {-1, 0, 1, 2}) {
    SCOPED_TRACE(lpf_type);
    auto p = started_program(1048576.0L, 1024);
    const long n = p->wf.nptst;
    fill_reference(p->wf.y1a, n, 3);
    run(generate_filter, *p, "1\nk");
    if (lpf_type >= 0) {
      p->rrc.use_lpf_rrc = 1;
      p->rrc.rrc_lpf_type = lpf_type;
      p->rrc.n_lpf = 2;
      p->rrc.f0_lpf = 100000;
    }
    fill_random(p->wf.y2a, n, 4);
    const Samples original = p->wf.y2a;
    run(compress_waveform, *p, "2\n1\nk");
    p->rrc.n1_rrc = 1;
    p->rrc.n2_rrc = n;
    p->rrc.rrc_epzc_enable = 0;
    run(decompress_waveform, *p, "1\n2\nk");
    EXPECT_EQ(p->rrc.rrc_epzc_value, 0.0L);
    const long double m = mean(original, n);
    for (long i = 0; i < n; ++i)
      ASSERT_NEAR(static_cast<double>(p->wf.y2a[i]), static_cast<double>(original[i] - m), 1e-13)
          << i;
  }
}

TEST(Compression, DestinationTruncationIsClearedBeforeTheSourceIsRead) {
  auto p = started_program(1048576.0L, 256);
  const long n = 256;
  unit_filter(*p);
  fill_random(p->wf.y1a, n, 5);
  const Samples original = p->wf.y1a;
  p->wf.i_truncatet1 = 60;
  p->wf.i_shift_wf1 = -3;
  p->wf.scale_wf1 = 0.5L;
  p->wf.i_truncatet2 = 10;
  run(compress_waveform, *p, "1\n2\nk");  // into the other slot: truncation honoured
  for (long i = 0; i < n; ++i)
    ASSERT_NEAR(static_cast<double>(p->wf.y2a[i]), i < 60 ? static_cast<double>(original[i]) : 0.0,
                1e-17)
        << i;
  EXPECT_EQ(p->wf.i_truncatet2, n);
  EXPECT_EQ(p->wf.i_shift_wf2, -3);
  EXPECT_EQ(p->wf.scale_wf2, 0.5L);
  EXPECT_EQ(p->wf.i_truncatet1, 60);
  run(compress_waveform, *p, "1\n1\nk");  // onto itself: every sample counts
  for (long i = 0; i < n; ++i)
    ASSERT_NEAR(static_cast<double>(p->wf.y1a[i]), static_cast<double>(original[i]), 1e-17) << i;
  EXPECT_EQ(p->wf.i_truncatet1, n);
}

// y[i] = 1 + i^2 / 8 on 16 points: every sample distinct, neighbours easy to name.
std::unique_ptr<Program> interval_program() {
  auto p = started_program(1048576.0L, 16);
  for (long i = 0; i < 16; ++i) p->wf.y1a[i] = 1 + i * i / 8.0L;
  return p;
}

std::vector<long double> gathered(Program& p) {
  gather_interval(p, p.wf.y1a);
  for (long i = 0; i < 16; ++i) EXPECT_EQ(p.work.xini[i], 0.0L);
  return std::vector<long double>(p.work.xinr.begin(), p.work.xinr.begin() + 16);
}

TEST(Compression, InclusiveIntervalKeepsItsPointsLessTheMeanOfItsEnds) {
  auto p = interval_program();
  const Samples& y = p->wf.y1a;
  p->rrc.n1_rrc = 3;
  p->rrc.n2_rrc = 7;  // indices 2..6
  std::vector<long double> g = gathered(*p);
  const long double e = 0.5L * (y[2] + y[6]);
  EXPECT_EQ(p->rrc.rrc_epzc_value, e);
  for (long i = 0; i < 16; ++i) EXPECT_EQ(g[i], i >= 2 && i <= 6 ? y[i] - e : 0.0L) << i;
  // The ends become plus and minus half their difference.
  EXPECT_EQ(g[2], -(y[6] - y[2]) / 2);
  EXPECT_EQ(g[6], (y[6] - y[2]) / 2);

  p->rrc.rrc_epzc_enable = 0;
  g = gathered(*p);
  EXPECT_EQ(p->rrc.rrc_epzc_value, 0.0L);
  for (long i = 0; i < 16; ++i) EXPECT_EQ(g[i], i >= 2 && i <= 6 ? y[i] : 0.0L) << i;
}

TEST(Compression, ExclusiveIntervalTakesItsNeighboursAroundTheEnds) {
  auto p = interval_program();
  const Samples& y = p->wf.y1a;
  p->rrc.rrc_int_type = 1;
  struct Case {
    long n1, n2;
    long double left, right;
  } cases[] = {{1, 5, y[15], y[5]}, {4, 16, y[2], y[0]}, {4, 9, y[2], y[9]}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n1);
    p->rrc.n1_rrc = c.n1;
    p->rrc.n2_rrc = c.n2;
    std::vector<long double> g = gathered(*p);
    const long double e = 0.5L * c.left + 0.5L * c.right;
    EXPECT_EQ(p->rrc.rrc_epzc_value, e);
    for (long i = 0; i < 16; ++i) {
      const bool inside = i >= c.n1 - 1 && i <= c.n2 - 1;
      EXPECT_EQ(g[i], inside ? 0.0L : y[i] - e) << i;
    }
  }
}

// 1/L as de-compression applied it: the spectrum of the result over that of the input.
std::vector<Cx> applied_inverse(const Program& p, const Samples& input, long n) {
  std::vector<Cx> out = direct_dft_real(p.wf.y2a.data(), n, -1);
  std::vector<Cx> in = direct_dft_real(input.data(), n, -1);
  for (long k = 0; k < n; ++k) out[k] /= in[k];
  return out;
}

TEST(Compression, FmaxHoldsTheDigitalMagnitudeInBothHalvesOfTheSpectrum) {
  const long n = 256;
  for (int type : {0, 2}) {
    SCOPED_TRACE(type);
    auto p = started_program(65536.0L, n);  // bins 256 Hz apart
    unit_filter(*p);
    p->rrc.use_lpf_rrc = 1;
    p->rrc.rrc_lpf_type = type;
    p->rrc.n_lpf = 3;
    p->rrc.f0_lpf = 2000;
    p->rrc.enable_fmax_rrc_decompress = 1;
    p->rrc.fmax_rrc_decompress = 2900;  // bins up to 11 lie within
    p->rrc.n1_rrc = 1;
    p->rrc.n2_rrc = n;
    p->rrc.rrc_epzc_enable = 0;
    fill_random(p->wf.y1a, n, 6);
    run(decompress_waveform, *p, "1\n2\nk");
    std::vector<Cx> inv = applied_inverse(*p, p->wf.y1a, n);
    EXPECT_NEAR(static_cast<double>(std::abs(inv[0])), 0.0, 1e-15);  // the mean is gone
    for (long k = 1; k < n; ++k) {
      const long s = std::min(k, n - k);
      const long double ratio = std::min(s, 11L) * 256.0L / 2000.0L;
      const long double expected = 1 + ratio * ratio * ratio;
      ASSERT_NEAR(static_cast<double>(std::abs(inv[k]) / expected), 1.0, 1e-12) << k;
      if (type == 0) {
        ASSERT_NEAR(static_cast<double>(inv[k].imag()), 0.0, 1e-12) << k;
      }
    }
  }
}

TEST(Compression, ZeroDivisorIsRefusedBeforeTheDestinationIsWritten) {
  const long n = 64;
  const char refused[] =
      "Enter waveform to de-compress (1 or 2):\n"
      "Enter destination for de-compressed waveform (1 or 2):\n"
      "Error - compression filter or low-pass response has a zero bin; operation not "
      "completed\n"
      "Press any A/N key to continue\n";
  for (int cause : {0, 1}) {
    SCOPED_TRACE(cause);
    auto p = started_program(16384.0L, n);  // bins 256 Hz apart
    unit_filter(*p);
    if (cause == 0) {
      p->rrc.Re_rrc_filt[5] = 0;  // a filter read from a file may hold one
    } else {
      p->rrc.use_lpf_rrc = 1;  // (2)^20000 overflows: L is exactly 0 from bin 2 on
      p->rrc.rrc_lpf_type = 0;
      p->rrc.n_lpf = 20000;
      p->rrc.f0_lpf = 256;
    }
    p->rrc.n1_rrc = 1;
    p->rrc.n2_rrc = n;
    fill_random(p->wf.y1a, n, 8);
    fill_random(p->wf.y2a, n, 9);
    const Samples before = p->wf.y2a;
    p->wf.i_shift_wf1 = 2;
    p->wf.i_shift_wf2 = 0;
    p->wf.i_truncatet2 = 33;
    p->wf.scale_wf2 = 1.5L;
    EXPECT_EQ(run(decompress_waveform, *p, "1\n2\nk"), refused);
    EXPECT_EQ(p->rrc.rrc_error, 1);
    EXPECT_TRUE(p->wf.y2a == before);
    EXPECT_EQ(p->wf.i_shift_wf2, 0);
    EXPECT_EQ(p->wf.i_truncatet2, 33);
    EXPECT_EQ(p->wf.scale_wf2, 1.5L);
  }
  // Bin 0 is never divided by: a zero there is no reason to refuse.
  auto p = started_program(16384.0L, n);
  unit_filter(*p);
  p->rrc.Re_rrc_filt[0] = 0;
  p->rrc.n1_rrc = 1;
  p->rrc.n2_rrc = n;
  fill_random(p->wf.y1a, n, 10);
  run(decompress_waveform, *p, "1\n2\nk");
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_TRUE(std::isfinite(p->wf.y2a[0]));
}

TEST(Compression, ImaginaryPartOfTheResultIsReportedAndTheRealPartStored) {
  const long n = 64;
  auto p = started_program(16384.0L, n);
  unit_filter(*p);
  p->rrc.Im_rrc_filt[3] = 0.5L;  // bin N-3 is not its conjugate
  p->rrc.n1_rrc = 1;
  p->rrc.n2_rrc = n;
  fill_random(p->wf.y1a, n, 11);
  EXPECT_EQ(run(compress_waveform, *p, "1\n2\nk"),
            "Enter waveform to compress (1 or 2):\n"
            "Enter destination for compressed waveform (1 or 2):\n"
            "Warning - imaginary part in compressed waveform 2\n"
            "Press any A/N key to continue\n");
  std::vector<Cx> x = direct_dft_real(p->wf.y1a.data(), n, -1);
  std::vector<Cx> y(n);
  for (long k = 0; k < n; ++k)
    y[k] = x[k] * Cx(p->rrc.Re_rrc_filt[k], p->rrc.Im_rrc_filt[k]) / Cx(n);
  std::vector<Cx> expected = direct_dft(y, +1);
  for (long i = 0; i < n; ++i)
    ASSERT_NEAR(static_cast<double>(p->wf.y2a[i]), static_cast<double>(expected[i].real()), 1e-16);
  EXPECT_EQ(run(decompress_waveform, *p, "1\n1\nk"),
            "Enter waveform to de-compress (1 or 2):\n"
            "Enter destination for de-compressed waveform (1 or 2):\n"
            "Warning - imaginary part in de-compressed waveform 1\n"
            "Press any A/N key to continue\n");
}

}  // namespace
}  // namespace refx
