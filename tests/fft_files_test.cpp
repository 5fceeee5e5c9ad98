// FFT files in both formats: written and read back, short files, the step check.
#include "spectral/fft_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "core/float80.h"
#include "spectral/mag_phase.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

const std::string kPrompt = "Enter file name for FFT 2, or Q to quit:\n";

// `count` records k * step, -k/10, k/8: dB and degrees in text, real and imaginary part in
// binary (where a cut record of 5 bytes follows).
std::string records(long count, long double step, bool binary) {
  std::string out = binary ? std::string(256, '\0') : "comment\nx\n";
  for (long k = 0; k < count; ++k) {
    for (long double v : {k * step, -k / 10.0L, k / 8.0L}) {
      unsigned char bytes[12] = {};
      char text[40];
      encode_float80(v, bytes);
      std::snprintf(text, sizeof text, "%.10Le ", v);
      out += binary ? std::string(reinterpret_cast<char*>(bytes), 12) : std::string(text);
    }
    if (!binary) out.back() = '\n';
  }
  return out + (binary ? "cut r" : "y\n");
}

// 1024 points at 1024 samples/s: the program's step is exactly 1 Hz.
struct FftFiles : ::testing::Test {
  TempDir dir;
  std::unique_ptr<Program> p = started_program(1024.0L, 1024);
  const long n = 1024;

  // Reads into slot 2, marked first with 3 + 4j, 55 dB and 66 degrees; returns the step.
  long double read2(ScriptedConsole& con) {
    FftSlots& s = p->fft;
    s.fftr2.fill(3), s.ffti2.fill(4), s.fft2mag.fill(55), s.fft2ph.fill(66);
    long double delf = -7;
    read_fft(*p, con, 2, s.fftr2.data(), s.ffti2.data(), s.fft2mag.data(), s.fft2ph.data(), &delf,
             &s.num_ptsa2);
    return delf;
  }
};

TEST_F(FftFiles, RoundTripsInEveryFormat) {
  const struct {
    const BuildConstants* build;
    int toggle, record_bytes;
  } formats[] = {{&kLinuxBuild, 2, 0}, {&kLinuxBuild, 1, 36}, {&kWindowsBuild, 1, 30}};
  for (const auto& f : formats) {
    p = started_program(1024.0L, n, *f.build);
    p->i_rw_bin_ascii = f.toggle;
    FftSlots& s = p->fft;
    std::mt19937_64 gen(f.record_bytes);
    std::uniform_real_distribution<long double> dist(-5, 5);
    for (long k = 0; k < n; ++k) s.fftr1[k] = dist(gen), s.ffti1[k] = dist(gen);
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(),
                           s.fft1ph.data());
    ScriptedConsole save("rt\ntwo words\n");
    save_fft(*p, save, 1, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data(),
             &s.deltaf, &n);
    const std::string file = dir.read("rt");
    if (f.record_bytes > 0) {  // a 256-byte comment, then the records
      ASSERT_EQ(file.size(), 256u + f.record_bytes * n);
      EXPECT_EQ(std::string(file.c_str()), f.build->windows ? "two" : "two words");
    } else {  // comment, x, one line per record, y; the frequency leads each record
      EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), n + 3);
      EXPECT_EQ(file.find("two words\nx\n"), 0u);
      EXPECT_NE(file.find("\n1.0230000000e+03 "), std::string::npos);
      EXPECT_EQ(file.substr(file.size() - 3), "\ny\n");
    }
    ScriptedConsole con("rt\n");
    EXPECT_EQ(read2(con), s.deltaf);
    EXPECT_EQ(con.transcript(), kPrompt);  // N records, the same step: no warning
    EXPECT_EQ(s.num_ptsa2, n);
    const double tol = f.record_bytes > 0 ? 0 : 1e-8;  // binary is exact
    for (long k = 0; k < n; ++k) {
      const double size = double(std::hypot(s.fftr1[k], s.ffti1[k]));
      ASSERT_NEAR(double(s.fftr2[k]), double(s.fftr1[k]), tol * size);
      ASSERT_NEAR(double(s.ffti2[k]), double(s.ffti1[k]), tol * size);
      ASSERT_NEAR(double(s.fft2ph[k]), double(s.fft1ph[k]), tol * 180);
    }
  }
}

TEST_F(FftFiles, ShortFilesAreReportedAndFilledOnRequest) {
  FftSlots& s = p->fft;
  for (int toggle : {2, 1}) {
    const bool text = toggle == 2;
    p->i_rw_bin_ascii = toggle;
    dir.write("short", records(100, 1, !text));
    for (bool fill : {false, true}) {
      ScriptedConsole con(fill ? "short\n1\n" : "short\n0\n");
      read2(con);
      EXPECT_EQ(con.transcript(),
                kPrompt + "Warning: number of points in wf 2 less than num_meas_points;\n" +
                    (text ? "Fill remaining values with small value? 1=Y, 0=N:\n"
                          : "Fill remaining values with zero? 1=Y, 0=N:\n"));
      EXPECT_EQ(s.num_ptsa2, 100);
      // The pair the file holds: dB and degrees in text, real and imaginary part in binary.
      const Samples& a = text ? s.fft2mag : s.fftr2;
      const Samples& b = text ? s.fft2ph : s.ffti2;
      EXPECT_TRUE(a[7] == -0.7L && b[7] == 7 / 8.0L) << toggle;
      const long double want_a = fill ? (text ? -1000 : 0) : (text ? 55 : 3);
      const long double want_b = fill ? 0 : (text ? 66 : 4);
      for (long k = 100; k < n; ++k) ASSERT_TRUE(a[k] == want_a && b[k] == want_b) << k;
    }
    // Filled bins: about 1e-50 + 0j from a text file, 0 + 0j shown as -1000 dB, +90 deg in binary.
    EXPECT_TRUE(text ? std::fabs(s.fftr2[500] * 1e50L - 1) < 1e-3 && s.ffti2[500] == 0
                     : s.fft2mag[500] == -1000 && s.fft2ph[500] == 90);
  }
}

// Only a step more than 0.01 Hz away from the program's is reported; with fewer than two
// records there is no step to check.
TEST_F(FftFiles, StepCheck) {
  for (const auto& [count, step] :
       {std::pair{1024L, 1.005}, {1024L, 1.02}, {1024L, 0.98}, {1L, 3.0}}) {
    dir.write("step", records(count, step, false));
    ScriptedConsole con(count < n ? "step\n0\n" : "step\nk");
    const long double delf = read2(con);
    const bool want = count > 1 && std::fabs(step - 1) > 0.01;
    EXPECT_EQ(con.transcript().find("Warning - delf in FFT 2 file doesn't match program value;\n"
                                    "Press any A/N key to continue\n") != std::string::npos,
              want)
        << step;
    EXPECT_EQ(con.waits(), want ? 1 : 0);
    EXPECT_NEAR(double(delf), count > 1 ? step : -7, 1e-12);
    EXPECT_EQ(p->fft.deltaf, 1.0L);  // the program's step never changes
  }
}

TEST_F(FftFiles, QAtTheRetryPromptAbandonsTheSave) {
  ScriptedConsole con("nodir/a.txt\nQ\nk");
  FftSlots& s = p->fft;
  save_fft(*p, con, 1, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data(), &s.deltaf,
           &n);
  EXPECT_EQ(con.transcript(),
            "Enter file name for FFT 1:\n"
            "Error opening file, enter another name or Q to quit:\n"
            "File save aborted\n"
            "Press any A/N key to continue\n");
  EXPECT_FALSE(dir.exists("Q"));
}

}  // namespace
}  // namespace refx
