// The FFT menu through the scripted console: its screen and the state each key leaves.
#include "spectral/fft_menu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "spectral/mag_phase.h"
#include "support/direct_dft.h"
#include "support/recording_plot_window.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

// 16 points at 1024 samples/s: bins 64 Hz apart. Random waveforms and slots.
struct FftMenu : ::testing::Test {
  TempDir dir;
  std::unique_ptr<Program> p = started_program(1024.0L, 16);
  FftSlots& s = p->fft;
  const long n = 16;

  void SetUp() override {
    std::mt19937_64 gen(3);
    std::uniform_real_distribution<long double> d(-1, 1);
    for (Samples* a : {&p->wf.y1a, &p->wf.y2a, &s.fftr1, &s.ffti1, &s.fftr2, &s.ffti2})
      for (long k = 0; k < n; ++k) (*a)[k] = d(gen);
    for (int i : {1, 2}) {
      FftSlotRef r = s.slot(i);
      calc_fft_mag_ph_no_avg(*p, &n, r.fftr.data(), r.ffti.data(), r.fftmag.data(), r.fftph.data());
    }
  }
  std::string run(const std::string& script) {
    ScriptedConsole con(script);
    fft_menu(*p, con);
    return con.transcript();
  }
  Cx bin(int slot, long k) { return Cx(s.slot(slot).fftr[k], s.slot(slot).ffti[k]); }
};

TEST_F(FftMenu, ScreenAndAveragingSettings) {
  ScriptedConsole con("xg0.25\nv5\n0\n0.5\nv1\n0\nv-1\nq");
  fft_menu(*p, con);
  const std::string menu =
      "1 to take FFT of time waveform 1\n2 to take FFT of time waveform 2\n"
      "B to take FFT of both time waveforms\n"
      "D to form amplitude ratio and phase difference in FFT1\n"
      "U to add FFTs and put result in FFT1\nC to subtract FFTs and put result in FFT1\n"
      "M to multiply (convolve) FFTs and put result in FFT1\nA to plot FFT amplitude\n"
      "H to plot FFT phase\nS to save FFT to a file\nR to read FFT from a file\n"
      "P to set FFT amplitude plot vertical scale\n"
      "G to set tau for phase plot (0.000000e+00)\n"
      "V to set up FFT magnitude averaging (disabled)\n"
      "N to calculate inverse FFT and place result in time waveform\n"
      "Q to return to main menu\nEnter Command :\n";
  const std::vector<std::string> shown = con.screens();
  EXPECT_EQ(shown[0], menu);  // an unknown key redraws
  EXPECT_EQ(shown[1], menu + "Enter tau in seconds:\n");
  // Mode 5 is 2 and asks for a positive fraction; mode 1 has at least 1 point; -1 is 0.
  const std::string cutoff = "F to set cutoff frequency for FFT averaging (5.120000e+02)\nN to";
  const std::string lines[] = {"Error entering octave fraction; try again\n",
                               "plot (2.500000e-01)\nV to set up FFT magnitude averaging "
                               "(5.000000e-01 octave)\n" +
                                   cutoff,
                               " (1 points)\n" + cutoff};
  for (int i = 0; i < 3; ++i) EXPECT_NE(shown[i + 2].find(lines[i]), std::string::npos) << i;
  EXPECT_NEAR(static_cast<double>(s.fft_mag_avg_mult), std::sqrt(2.0), 1e-15);
  EXPECT_TRUE(s.Tg == 0.25f && s.fft_mag_avg_mode == 0);
  EXPECT_EQ(shown[5].size(), menu.size());  // averaging off again: no F line
}

// B takes each waveform with its own truncation, averaged; N from slot 1 gives waveform 1
// times N with zeros past its truncation.
TEST_F(FftMenu, ForwardAndInverseTransforms) {
  const Samples y1 = p->wf.y1a;
  p->wf.i_truncatet1 = 12, p->wf.i_truncatet2 = 5;
  s.fft_mag_avg_mode = 1, s.fft_mag_avg_npts = 2;
  EXPECT_EQ(run("bn1\n1\nq").find("Warning"), std::string::npos);
  Samples y2 = p->wf.y2a;
  for (long i = 5; i < n; ++i) y2[i] = 0;
  const std::vector<Cx> want2 = direct_dft_real(y2.data(), n, -1);
  for (long k = 0; k < n; ++k) EXPECT_LT(std::abs(bin(2, k) - want2[k]), 1e-16) << k;
  EXPECT_EQ(s.fft1mag[1], s.fft1mag[2]);
  for (long i = 0; i < n; ++i)
    EXPECT_NEAR(double(p->wf.y1a[i]), double(i < 12 ? y1[i] * n : 0), 1e-15) << i;
  EXPECT_EQ(p->wf.i_truncatet1, 12);
}

TEST_F(FftMenu, RatioSumDifferenceAndProduct) {
  s.fftr2 = s.fftr1, s.ffti2 = s.ffti1, s.fft2mag = s.fft1mag, s.fft2ph = s.fft1ph;
  run("dq");  // identical slots: 0 dB, 0 degrees, 1 + 0j
  for (long k = 0; k < n; ++k)
    EXPECT_TRUE(s.fft1mag[k] == 0 && s.fft1ph[k] == 0 && bin(1, k) == Cx(1, 0)) << k;
  s.fft1ph[0] = 170, s.fft2ph[0] = -100, s.fft1ph[1] = -170, s.fft2ph[1] = 100;
  run("dq");
  EXPECT_TRUE(s.fft1ph[0] == -90 && s.fft1ph[1] == 90);  // differences wrapped

  SetUp();
  std::vector<Cx> a;
  for (long k = 0; k < n; ++k) a.push_back(bin(1, k));
  s.fft_mag_avg_mode = 1, s.fft_mag_avg_npts = 4;
  const std::string out = run("uxcymkq");  // U then C restores slot 1; M multiplies
  for (std::string op : {"added", "subtracted", "multiplied"})
    EXPECT_NE(out.find("FFTs have been " + op + "\nPress any A/N key to continue\n"), out.npos);
  for (long k = 0; k < n; ++k) {
    const Cx want = a[k] * bin(2, k);
    EXPECT_LT(std::abs(bin(1, k) - want), 1e-17) << k;
    EXPECT_NEAR(double(s.fft1mag[k]), double(10 * std::log10(std::norm(want))), 1e-6);
  }
}

// A short FFT file read into a slot must not shorten the full spectra computed into it later.
TEST_F(FftMenu, TransformsAndCombinationsGiveTheFullCount) {
  const struct {
    const char* keys;
    long count1, count2;
  } cases[] = {{"1q", n, 3},  {"2q", 3, n},  {"bq", n, n}, {"ukq", n, 3},
               {"ckq", n, 3}, {"mkq", n, 3}, {"xq", 3, 3}};
  for (const auto& c : cases) {
    s.num_ptsa1 = s.num_ptsa2 = 3;
    run(c.keys);
    EXPECT_TRUE(s.num_ptsa1 == c.count1 && s.num_ptsa2 == c.count2) << c.keys;
  }
}

// A with 7 plots slot 2; S with 3 writes nothing; R with 3 reads into slot 2.
TEST_F(FftMenu, SlotNumbersOfPlotSaveAndRead) {
  RecordingPlotWindow win;
  p->plot_window = &win, win.type("q");
  for (long k = 0; k < n; ++k) s.fft1mag[k] = -30, s.fft2mag[k] = 10;  // bottom and top of the axis
  run("a7\ns3\ns1\nout.txt\nc\nR3\nout.txt\nq");
  EXPECT_EQ(p->plot.plot_mode, 2);
  EXPECT_EQ(win.trace.at(3).y2, p->plot.a.maxy);
  EXPECT_EQ(win.closes, 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
  for (long k = 0; k < n; ++k) EXPECT_NEAR(static_cast<double>(s.fft2mag[k]), -30, 1e-9) << k;
}

// N warns of an imaginary part above 1e-8 in size, naming the destination; a constant
// spectrum comes back as one sample, 16 times the bin.
TEST_F(FftMenu, InverseWarnsOfAnImaginaryPartAboveTheThreshold) {
  for (long double im : {2e-9L, 5e-10L}) {  // 3.2e-8 and 8e-9 at sample 0
    for (long k = 0; k < n; ++k) s.fftr1[k] = 0.25L, s.ffti1[k] = im;
    const std::string out = run("n1\n2\nkq");
    EXPECT_EQ(out.find("Warning - imaginary part in time waveform 2\nPress any A/N key to "
                       "continue\n") != out.npos,
              im > 1e-9L);
    EXPECT_TRUE(p->wf.y2a[0] == 4 && p->wf.y2a[1] == 0);
  }
}

// H plots the phase with the phase set; P sets the amplitude set's scale and lays it out.
TEST_F(FftMenu, PhasePlotAndAmplitudeScale) {
  RecordingPlotWindow win;
  p->plot_window = &win, win.type("q");
  run("h1\np5\n-60\nq");
  EXPECT_EQ(p->plot.plot_mode, 3);
  EXPECT_TRUE(p->plot.p.minx == 125 && p->plot.a.minx == 0);  // the phase set was drawn
  const PlotParams& a = p->plot.a;
  EXPECT_TRUE(a.ymax == 5 && a.ymin == -60 && a.ymin_axis == -60 && a.ymax_axis == 10);
  EXPECT_EQ(p->plot.p.ymin, -200);
}

TEST_F(FftMenu, CutoffFrequencyInBins) {
  p = started_program(10240.0L, 1024);  // deltaf 10 Hz
  const std::string out = run("f0\n1000\nq");
  EXPECT_NE(out.find("Error entering frequency; try again\n"), std::string::npos);
  EXPECT_EQ(p->fft.npts_cutoff_avg, 101);
  run("F999.95\nq");  // 0.1 Hz is added before dividing
  EXPECT_EQ(p->fft.npts_cutoff_avg, 101);
  run("F1e9\nq");
  EXPECT_EQ(p->fft.npts_cutoff_avg, 512);  // limited to N/2
}

}  // namespace
}  // namespace refx
