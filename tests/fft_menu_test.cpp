// The FFT menu through the scripted console: exact texts and the state each key leaves.
#include "spectral/fft_menu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>

#include "spectral/mag_phase.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

using C = std::complex<long double>;

std::string menu(const std::string& tau, const std::string& averaging,
                 const std::string& cutoff = "") {
  return "1 to take FFT of time waveform 1\n"
         "2 to take FFT of time waveform 2\n"
         "B to take FFT of both time waveforms\n"
         "D to form amplitude ratio and phase difference in FFT1\n"
         "U to add FFTs and put result in FFT1\n"
         "C to subtract FFTs and put result in FFT1\n"
         "M to multiply (convolve) FFTs and put result in FFT1\n"
         "A to plot FFT amplitude\n"
         "H to plot FFT phase\n"
         "S to save FFT to a file\n"
         "R to read FFT from a file\n"
         "P to set FFT amplitude plot vertical scale\n"
         "G to set tau for phase plot (" +
         tau +
         ")\n"
         "V to set up FFT magnitude averaging" +
         averaging + cutoff +
         "N to calculate inverse FFT and place result in time waveform\n"
         "Q to return to main menu\n"
         "Enter Command :\n";
}
const std::string kMenu = menu("0.000000e+00", " (disabled)\n");

// Direct forward DFT, unscaled, of the first n samples (those at or past `trunc` as 0).
std::vector<C> dft(const Samples& y, long n, long trunc) {
  std::vector<C> out(n);
  const long double pi = 3.141592653589793238462643383279502884L;
  for (long k = 0; k < n; ++k) {
    C sum = 0;
    for (long m = 0; m < std::min(n, trunc); ++m)
      sum += y[m] * std::polar(1.0L, -2.0L * pi * ((k * m) % n) / n);
    out[k] = sum;
  }
  return out;
}

struct FftMenu : ::testing::Test {
  TempDir dir;
  // 16 points at 1024 samples/s: bins 64 Hz apart.
  std::unique_ptr<Program> p = started_program(1024.0L, 16);
  FftSlots& s = p->fft;
  TimeWaveforms& wf = p->wf;
  const long n = 16;

  void run(ScriptedConsole& con) { fft_menu(*p, con); }
  void fill_waveforms() {
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<long double> dist(-1.0L, 1.0L);
    for (long i = 0; i < n; ++i) {
      wf.y1a[i] = dist(gen);
      wf.y2a[i] = dist(gen);
    }
  }
  void fill_slots(unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<long double> dist(-2.0L, 2.0L);
    for (long k = 0; k < n; ++k) {
      s.fftr1[k] = dist(gen);
      s.ffti1[k] = dist(gen);
      s.fftr2[k] = dist(gen);
      s.ffti2[k] = dist(gen);
    }
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(),
                           s.fft1ph.data());
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr2.data(), s.ffti2.data(), s.fft2mag.data(),
                           s.fft2ph.data());
  }
  void expect_slot(int slot, const std::vector<C>& want, double tol) {
    FftSlotRef r = s.slot(slot);
    for (long k = 0; k < n; ++k) {
      EXPECT_NEAR(static_cast<double>(r.fftr[k]), static_cast<double>(want[k].real()), tol)
          << slot << " " << k;
      EXPECT_NEAR(static_cast<double>(r.ffti[k]), static_cast<double>(want[k].imag()), tol)
          << slot << " " << k;
    }
  }
};

TEST_F(FftMenu, ScreenShowsEveryLineAndTheAveragingSetting) {
  ScriptedConsole con("xq");
  run(con);
  ASSERT_EQ(con.screens().size(), 2u);
  EXPECT_EQ(con.screens()[0], kMenu);
  EXPECT_EQ(con.screens()[1], kMenu);  // unknown key redraws

  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 8;
  s.Tg = 0.25f;
  ScriptedConsole one("Q");
  run(one);
  EXPECT_EQ(one.screen(), menu("2.500000e-01", " (8 points)\n",
                               "F to set cutoff frequency for FFT averaging (5.120000e+02)\n"));

  s.fft_mag_avg_mode = 2;
  s.fft_mag_avg_frac = 0.5L;
  ScriptedConsole two("q");
  run(two);
  EXPECT_EQ(two.screen(), menu("2.500000e-01", " (5.000000e-01 octave)\n",
                               "F to set cutoff frequency for FFT averaging (5.120000e+02)\n"));
}

TEST_F(FftMenu, ForwardTransformsHonourEachTruncation) {
  fill_waveforms();
  wf.i_truncatet1 = 10;
  wf.i_truncatet2 = 5;
  ScriptedConsole con("bq");
  run(con);
  ASSERT_EQ(con.screens().size(), 4u);  // each transform clears the screen
  EXPECT_EQ(con.screens()[1], "Taking FFT ...\n");
  EXPECT_EQ(con.screens()[2], "Taking FFT ...\n");
  expect_slot(1, dft(wf.y1a, n, 10), 1e-16);
  expect_slot(2, dft(wf.y2a, n, 5), 1e-16);
  for (long k = 0; k < n; ++k) {
    const long double power = s.fftr2[k] * s.fftr2[k] + s.ffti2[k] * s.ffti2[k];
    EXPECT_NEAR(static_cast<double>(s.fft2mag[k]), static_cast<double>(10 * std::log10(power)),
                1e-6);
  }
  EXPECT_GT(p->work.max_fft_mag, 0);

  // Key 2 alone touches only slot 2.
  const long double before = s.fftr1[3];
  wf.i_truncatet2 = n;
  ScriptedConsole only2("2q");
  run(only2);
  EXPECT_EQ(s.fftr1[3], before);
  expect_slot(2, dft(wf.y2a, n, n), 1e-16);
}

TEST_F(FftMenu, ForwardTransformAppliesTheAveraging) {
  fill_waveforms();
  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 2;
  ScriptedConsole con("1q");
  run(con);
  const long double mean = (s.fft_mag_avg[1] + s.fft_mag_avg[2]) / 2;
  EXPECT_NEAR(static_cast<double>(s.fft1mag[1]), static_cast<double>(10 * std::log10(mean)), 1e-6);
  EXPECT_EQ(s.fft1mag[1], s.fft1mag[2]);
}

TEST_F(FftMenu, TransformThenInverseGivesSamplesTimesN) {
  fill_waveforms();
  const Samples original = wf.y1a;
  wf.i_truncatet1 = 12;
  ScriptedConsole con("1n1\n1\nq");
  run(con);
  EXPECT_EQ(con.screens()[2],
            kMenu + "Enter source FFT (1 or 2):\nEnter destination time waveform (1 or 2):\n");
  for (long i = 0; i < n; ++i) {
    const long double want = i < 12 ? original[i] * n : 0.0L;
    EXPECT_NEAR(static_cast<double>(wf.y1a[i]), static_cast<double>(want), 1e-15) << i;
  }
  EXPECT_EQ(wf.i_truncatet1, 12);  // marks of the destination are left alone
  EXPECT_EQ(con.waits(), 0);       // a real signal leaves no imaginary part
}

TEST_F(FftMenu, InverseAsksAgainAndWarnsOfAnImaginaryPart) {
  fill_slots(3);  // not conjugate-symmetric: the result is complex
  ScriptedConsole con("N0\n3\nz\n2\n9\n2\nkq");
  run(con);
  EXPECT_EQ(con.screens()[0], kMenu +
                                  "Enter source FFT (1 or 2):\n"
                                  "Error - enter again:\n"
                                  "Error - enter again:\n"
                                  "Error - enter again:\n"  // z keeps the 3
                                  "Enter destination time waveform (1 or 2):\n"
                                  "Error - enter again:\n"
                                  "Warning - imaginary part in time waveform 2\n"
                                  "Press any A/N key to continue\n");
  EXPECT_EQ(con.waits(), 1);
  // Slot 2 went through the unscaled inverse into waveform 2.
  const long double pi = p->pi;
  for (long m = 0; m < n; ++m) {
    C sum = 0;
    for (long k = 0; k < n; ++k)
      sum += C(s.fftr2[k], s.ffti2[k]) * std::polar(1.0L, 2.0L * pi * ((k * m) % n) / n);
    EXPECT_NEAR(static_cast<double>(wf.y2a[m]), static_cast<double>(sum.real()), 1e-15) << m;
  }
}

TEST_F(FftMenu, RatioOfIdenticalSlotsIsUnity) {
  fill_slots(4);
  s.fftr2 = s.fftr1;
  s.ffti2 = s.ffti1;
  s.fft2mag = s.fft1mag;
  s.fft2ph = s.fft1ph;
  ScriptedConsole con("dq");
  run(con);
  EXPECT_EQ(con.screens()[1], "Computing values ...\n");
  EXPECT_EQ(con.waits(), 0);
  for (long k = 0; k < n; ++k) {
    EXPECT_EQ(s.fft1mag[k], 0);
    EXPECT_EQ(s.fft1ph[k], 0);
    EXPECT_EQ(s.fftr1[k], 1);
    EXPECT_EQ(s.ffti1[k], 0);
  }
}

TEST_F(FftMenu, RatioWrapsThePhaseDifference) {
  fill_slots(5);
  s.fft1ph[0] = 170;
  s.fft2ph[0] = -100;  // 270 becomes -90
  s.fft1ph[1] = -170;
  s.fft2ph[1] = 100;  // -270 becomes 90
  s.fft1mag[0] = 6;
  s.fft2mag[0] = 0;
  ScriptedConsole con("Dq");
  run(con);
  EXPECT_EQ(s.fft1ph[0], -90);
  EXPECT_EQ(s.fft1ph[1], 90);
  EXPECT_NEAR(static_cast<double>(s.ffti1[0]), -std::pow(10.0, 6.0 / 20), 1e-6);
  EXPECT_NEAR(static_cast<double>(s.fftr1[0]), 0.0, 1e-15);
}

TEST_F(FftMenu, AddThenSubtractRestoresSlotOneWithoutAveraging) {
  fill_slots(6);
  const Samples r1 = s.fftr1, i1 = s.ffti1;
  s.fft_mag_avg_mode = 1;
  s.fft_mag_avg_npts = 4;
  ScriptedConsole con("uxcyq");
  run(con);
  const std::string shown = menu("0.000000e+00", " (4 points)\n",
                                 "F to set cutoff frequency for FFT averaging (5.120000e+02)\n");
  EXPECT_EQ(con.screens()[0], shown + "FFTs have been added\nPress any A/N key to continue\n");
  EXPECT_EQ(con.screens()[1], shown + "FFTs have been subtracted\nPress any A/N key to continue\n");
  EXPECT_EQ(con.waits(), 2);
  Samples mag{}, ph{};
  calc_fft_mag_ph_no_avg(*p, &n, r1.data(), i1.data(), mag.data(), ph.data());
  for (long k = 0; k < n; ++k) {
    EXPECT_NEAR(static_cast<double>(s.fftr1[k]), static_cast<double>(r1[k]), 1e-18);
    EXPECT_NEAR(static_cast<double>(s.ffti1[k]), static_cast<double>(i1[k]), 1e-18);
    EXPECT_NEAR(static_cast<double>(s.fft1mag[k]), static_cast<double>(mag[k]), 1e-12) << k;
  }
}

TEST_F(FftMenu, MultiplyIsBinByBin) {
  fill_slots(7);
  std::vector<C> want(n);
  for (long k = 0; k < n; ++k) want[k] = C(s.fftr1[k], s.ffti1[k]) * C(s.fftr2[k], s.ffti2[k]);
  ScriptedConsole con("mkq");
  run(con);
  EXPECT_EQ(con.screens()[0], kMenu + "FFTs have been multiplied\nPress any A/N key to continue\n");
  expect_slot(1, want, 1e-17);
  for (long k = 0; k < n; ++k)
    EXPECT_NEAR(static_cast<double>(s.fft1mag[k]),
                static_cast<double>(10 * std::log10(std::norm(want[k]))), 1e-6);
}

TEST_F(FftMenu, PlotKeysClampTheSlotAndSetTheMode) {
  ScriptedConsole con("a7\nh-3\nq");
  run(con);
  EXPECT_EQ(con.screens()[0], kMenu + "Select FFT 1 or 2:\n");
  EXPECT_EQ(con.screens()[1], kMenu + "Select FFT 1 or 2:\n");
  EXPECT_EQ(p->plot.plot_mode, 3);
  EXPECT_EQ(p->plot.deltaf_float, static_cast<float>(s.deltaf));
  ScriptedConsole amp("A2\nq");
  run(amp);
  EXPECT_EQ(p->plot.plot_mode, 2);
}

TEST_F(FftMenu, AmplitudeScaleAndTau) {
  p->plot.deltaf_float = 0;
  ScriptedConsole con("p5\n-45.5\ng1e-3\nq");
  run(con);
  EXPECT_EQ(con.screens()[1],
            "Enter FFT amplitude maximum vertical scale value in dB :\n"
            "Enter FFT amplitude minimum vertical scale value in dB :\n");
  EXPECT_EQ(p->plot.a.ymax, 5.0f);
  EXPECT_EQ(p->plot.a.ymin, -45.5f);
  EXPECT_EQ(p->plot.deltaf_float, static_cast<float>(s.deltaf));
  EXPECT_EQ(con.screens()[2], kMenu + "Enter tau in seconds:\n");
  EXPECT_EQ(s.Tg, 1e-3f);
  EXPECT_EQ(con.screens()[3], menu("1.000000e-03", " (disabled)\n"));
}

TEST_F(FftMenu, AveragingSettingsAreClamped) {
  ScriptedConsole con("v5\n0\n-1\n0.5\nv1\n0\nv-1\nq");
  run(con);
  EXPECT_EQ(con.screens()[0],
            kMenu +
                "Enter 0 for no averaging, 1 for number of points, 2 for fraction of octave:\n"
                "Enter octave fractions to average:\n"
                "Error entering octave fraction; try again\n"
                "Enter octave fractions to average:\n"
                "Error entering octave fraction; try again\n"
                "Enter octave fractions to average:\n");
  EXPECT_NEAR(static_cast<double>(s.fft_mag_avg_mult), std::sqrt(2.0), 1e-15);
  EXPECT_EQ(s.fft_mag_avg_frac, 0.5L);
  EXPECT_TRUE(con.screens()[1].find(" (5.000000e-01 octave)\n") != std::string::npos);
  EXPECT_TRUE(con.screens()[1].find("Enter number of frequency points to average:\n") !=
              std::string::npos);
  EXPECT_EQ(s.fft_mag_avg_npts, 1);
  EXPECT_TRUE(con.screens()[2].find(" (1 points)\n") != std::string::npos);
  EXPECT_EQ(s.fft_mag_avg_mode, 0);
}

TEST_F(FftMenu, CutoffInBinsIsLimitedToHalfTheSize) {
  p = started_program(10240.0L, 1024);  // bins about 10 Hz apart
  ScriptedConsole con("f0\n-5\n1000\nq");
  fft_menu(*p, con);
  EXPECT_EQ(con.screens()[0], kMenu +
                                  "Enter cutoff frequency for FFT averaging in Hz:\n"
                                  "Error entering frequency; try again\n"
                                  "Enter cutoff frequency for FFT averaging in Hz:\n"
                                  "Error entering frequency; try again\n"
                                  "Enter cutoff frequency for FFT averaging in Hz:\n");
  EXPECT_EQ(p->fft.freq_cutoff_avg, 1000.0L);
  EXPECT_EQ(p->fft.npts_cutoff_avg, 101);
  ScriptedConsole high("F1e9\nF1e4000\nq");
  p->fft.npts_cutoff_avg = 0;
  fft_menu(*p, high);
  EXPECT_EQ(p->fft.npts_cutoff_avg, 512);
}

TEST_F(FftMenu, SaveIgnoresOtherSlotNumbersAndAbandonsOnQ) {
  fill_slots(8);
  ScriptedConsole con("s3\nS1\nnodir/x\nQ\nq");
  run(con);
  EXPECT_EQ(con.screens()[0], kMenu + "Enter 1 or 2 for FFT:");
  EXPECT_EQ(con.screens()[1], kMenu +
                                  "Enter 1 or 2 for FFT:Enter file name for FFT 1:\n"
                                  "Error opening file, enter another name or Q to quit:\n"
                                  "File save aborted\n");
  EXPECT_EQ(con.screens()[2], kMenu);  // back in the menu
  EXPECT_FALSE(dir.exists("Q"));
}

TEST_F(FftMenu, SaveThenReadMovesASlot) {
  fill_slots(9);
  s.num_ptsa1 = n;
  ScriptedConsole con("s1\nout.txt\ncomment\nr2\nout.txt\nq");
  run(con);
  EXPECT_EQ(con.screens()[1],
            kMenu + "Enter 1 or 2 for FFT:\nEnter file name for FFT 2, or Q to quit:\n");
  EXPECT_EQ(s.num_ptsa2, n);
  for (long k = 0; k < n; ++k) {
    EXPECT_NEAR(static_cast<double>(s.fftr2[k]), static_cast<double>(s.fftr1[k]), 1e-9);
    EXPECT_NEAR(static_cast<double>(s.ffti2[k]), static_cast<double>(s.ffti1[k]), 1e-9);
  }
}

TEST_F(FftMenu, ReadWithAnyOtherNumberUsesSlotTwo) {
  fill_slots(10);
  const Samples before = s.fftr2;
  ScriptedConsole con("R3\nq\nq");
  run(con);
  EXPECT_EQ(con.screens()[0],
            kMenu + "Enter 1 or 2 for FFT:\nEnter file name for FFT 2, or Q to quit:\n");
  EXPECT_EQ(s.fftr2, before);
  EXPECT_EQ(s.num_ptsa2, n);
}

}  // namespace
}  // namespace refx
