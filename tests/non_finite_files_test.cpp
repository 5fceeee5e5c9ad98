// Waveform, FFT and filter files holding a number that is not finite are refused whole, in
// text and in both binary widths, and the slot or filter stays exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "core/float80.h"
#include "reflection/filter_file_actions.h"
#include "spectral/fft_files.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"
#include "waveforms/waveform_files.h"

namespace refx {
namespace {

const auto npos = std::string::npos;
constexpr long kPoints = 64;  // at 1024 samples/s: time step 1/1024 s, frequency step 16 Hz
const long double kNan = std::numeric_limits<long double>::quiet_NaN();
const long double kInf = std::numeric_limits<long double>::infinity();

enum class Format { kText, kBinary12, kBinary10 };
const Format kFormats[] = {Format::kText, Format::kBinary12, Format::kBinary10};

const char* format_name(Format f) {
  return f == Format::kText ? "text" : f == Format::kBinary12 ? "12-byte" : "10-byte";
}

std::unique_ptr<Program> program_for(Format f) {
  auto p = started_program(1024.0L, kPoints, f == Format::kBinary10 ? kWindowsBuild : kLinuxBuild);
  p->i_rw_bin_ascii = f == Format::kText ? 2 : 1;
  return p;
}

// kPoints records of `columns` numbers: column 0 is k * step, the others finite values;
// record 5, column `column` holds `fault` when column >= 0.
std::string file_of(Format f, int columns, long double step, int column, long double fault) {
  std::string out = f == Format::kText ? "comment\nx\n" : std::string(256, '\0');
  for (long k = 0; k < kPoints; ++k) {
    for (int c = 0; c < columns; ++c) {
      long double v = c == 0 ? k * step : (c == 1 ? 0.25L + k : -1.0L / (k + 2));
      if (k == 5 && c == column) v = fault;
      if (f == Format::kText) {
        char text[48];
        std::snprintf(text, sizeof text, "%.21Le ", v);
        out += text;
      } else {
        unsigned char bytes[12] = {};
        encode_float80(v, bytes);
        out += std::string(reinterpret_cast<char*>(bytes), f == Format::kBinary12 ? 12 : 10);
      }
    }
    if (f == Format::kText) out += "\n";
  }
  return out + (f == Format::kText ? "y\n" : "");
}

struct Fault {
  int column;
  long double value;
  const char* what;
};

std::string refusal(const char* what, const char* outcome) {
  return std::string("Error - file bad.dat holds ") + what + " that is not a finite number; " +
         outcome + "\n";
}

TEST(NonFiniteFiles, WaveformReaderRefusesAndKeepsTheSlot) {
  const Fault faults[] = {{0, kNan, "a time"},
                          {1, kNan, "a value"},
                          {1, kInf, "a value"},
                          {1, -kInf, "a value"},
                          {0, kInf, "a time"}};
  for (Format f : kFormats) {
    for (const Fault& fault : faults) {
      TempDir dir;
      auto p = program_for(f);
      dir.write("bad.dat", file_of(f, 2, 1.0L / 1024, fault.column, fault.value));
      TimeWaveforms& wf = p->wf;
      for (long i = 0; i < kPoints; ++i) wf.y1a[i] = 1000 - i;
      wf.num_ptst1 = 40, wf.deltat1 = 0.125L, wf.i_shift_wf1 = 3, wf.i_truncatet1 = 20;
      wf.scale_wf1 = 2.5L;
      const Samples y_before = wf.y1a;
      ScriptedConsole con("1bad.dat\nkq");
      readt_from_disk(*p, con);
      const std::string said = con.transcript();
      EXPECT_NE(said.find(refusal(fault.what, "waveform 1 was not changed") +
                          "Press any A/N key to continue\n"),
                npos)
          << format_name(f) << " " << fault.what;
      EXPECT_TRUE(wf.y1a == y_before && wf.num_ptst1 == 40 && wf.deltat1 == 0.125L &&
                  wf.i_shift_wf1 == 3 && wf.i_truncatet1 == 20 && wf.scale_wf1 == 2.5L)
          << format_name(f) << " " << fault.what;
    }
    // The same file without the fault is read.
    TempDir dir;
    auto p = program_for(f);
    dir.write("good.dat", file_of(f, 2, 1.0L / 1024, -1, 0));
    ScriptedConsole con("1good.dat\nq");
    readt_from_disk(*p, con);
    EXPECT_EQ(con.transcript().find("Error"), npos) << format_name(f);
    EXPECT_EQ(p->wf.y1a[5], 5.25L) << format_name(f);
  }
}

// Two finite times whose difference is too large for long double.
TEST(NonFiniteFiles, WaveformReaderRefusesATimeStepTooLarge) {
  const long double big = std::numeric_limits<long double>::max();
  for (Format f : kFormats) {
    TempDir dir;
    auto p = program_for(f);
    std::string two = f == Format::kText ? "c\nx\n" : std::string(256, '\0');
    for (long double v : {-big, 1.0L, big, 2.0L}) {
      unsigned char b[12] = {};
      encode_float80(v, b);
      char text[48];
      std::snprintf(text, sizeof text, "%.21Le\n", v);
      two += f == Format::kText
                 ? std::string(text)
                 : std::string(reinterpret_cast<char*>(b), f == Format::kBinary12 ? 12 : 10);
    }
    dir.write("bad.dat", two);
    p->wf.y1a[0] = 42;
    const long double interval = p->wf.deltat1;
    ScriptedConsole con("1bad.dat\nkq");
    readt_from_disk(*p, con);
    EXPECT_NE(con.transcript().find(refusal("a time", "waveform 1 was not changed")), npos)
        << format_name(f);
    EXPECT_TRUE(p->wf.y1a[0] == 42 && p->wf.deltat1 == interval) << format_name(f);
  }
}

TEST(NonFiniteFiles, FftReaderRefusesAndKeepsTheSlot) {
  const Fault faults[] = {{0, kNan, "a frequency"},
                          {1, kNan, "a value"},
                          {2, kNan, "a value"},
                          {1, kInf, "a value"},
                          {2, -kInf, "a value"}};
  for (Format f : kFormats) {
    for (const Fault& fault : faults) {
      TempDir dir;
      auto p = program_for(f);
      dir.write("bad.dat", file_of(f, 3, 16, fault.column, fault.value));
      FftSlots& s = p->fft;
      s.fftr1.fill(3), s.ffti1.fill(4), s.fft1mag.fill(55), s.fft1ph.fill(66), s.num_ptsa1 = 9;
      const auto before = std::make_unique<FftSlots>(s);  // megabytes: not on the stack
      long double delf = -7;
      ScriptedConsole con("bad.dat\nk");
      read_fft(*p, con, 1, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data(), &delf,
               &s.num_ptsa1);
      EXPECT_NE(con.transcript().find(refusal(fault.what, "FFT 1 was not changed") +
                                      "Press any A/N key to continue\n"),
                npos)
          << format_name(f) << " " << fault.what << " in column " << fault.column;
      EXPECT_TRUE(s.fftr1 == before->fftr1 && s.ffti1 == before->ffti1 &&
                  s.fft1mag == before->fft1mag && s.fft1ph == before->fft1ph && s.num_ptsa1 == 9 &&
                  delf == -7)
          << format_name(f) << " " << fault.what << " in column " << fault.column;
    }
    TempDir dir;
    auto p = program_for(f);
    dir.write("good.dat", file_of(f, 3, 16, -1, 0));
    FftSlots& s = p->fft;
    long double delf = -7;
    ScriptedConsole con("good.dat\n");
    read_fft(*p, con, 1, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data(), &delf,
             &s.num_ptsa1);
    EXPECT_EQ(con.transcript().find("Error"), npos) << format_name(f);
    EXPECT_TRUE(s.num_ptsa1 == kPoints && delf == 16) << format_name(f);
  }
}

// A finite magnitude in dB can still be too large for the spectrum it stands for.
TEST(NonFiniteFiles, FftTextWithAHugeMagnitudeIsRefused) {
  TempDir dir;
  auto p = program_for(Format::kText);
  dir.write("bad.dat", file_of(Format::kText, 3, 16, 1, 1e6L));
  FftSlots& s = p->fft;
  s.fftr1.fill(3), s.num_ptsa1 = 9;
  const Samples before = s.fftr1;
  long double delf = -7;
  ScriptedConsole con("bad.dat\nk");
  read_fft(*p, con, 1, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data(), &delf,
           &s.num_ptsa1);
  EXPECT_NE(con.transcript().find("Error - file bad.dat holds a magnitude too large for a finite "
                                  "spectrum; FFT 1 was not changed\n"),
            npos);
  EXPECT_TRUE(s.fftr1 == before && s.num_ptsa1 == 9 && delf == -7);
}

TEST(NonFiniteFiles, FilterReaderRefusesAndKeepsTheFilter) {
  const Fault faults[] = {{0, kNan, "a frequency"},
                          {1, kNan, "a value"},
                          {2, kNan, "a value"},
                          {1, -kInf, "a value"},
                          {2, kInf, "a value"}};
  for (Format f : kFormats) {
    for (const Fault& fault : faults) {
      TempDir dir;
      auto p = program_for(f);
      dir.write("bad.dat", file_of(f, 3, 16, fault.column, fault.value));
      Reflection& r = p->rrc;
      r.Re_rrc_filt.fill(0.5L), r.Im_rrc_filt.fill(-2), r.rrc_filt = 1;
      r.rrc_filt_filename = "old.flt";
      const Samples re = r.Re_rrc_filt, im = r.Im_rrc_filt;
      ScriptedConsole con("bad.dat\nk");
      read_filter_action(*p, con);
      EXPECT_NE(
          con.transcript().find(refusal(fault.what, "the compression filter was not changed") +
                                "Error reading compression filter file, operation not completed\n"
                                "Press any A/N key to continue\n"),
          npos)
          << format_name(f) << " " << fault.what << " in column " << fault.column;
      EXPECT_TRUE(r.Re_rrc_filt == re && r.Im_rrc_filt == im && r.rrc_filt == 1 &&
                  r.rrc_filt_filename == "old.flt" && r.rrc_error == 1)
          << format_name(f) << " " << fault.what << " in column " << fault.column;
    }
    TempDir dir;
    auto p = program_for(f);
    dir.write("good.dat", file_of(f, 3, 16, -1, 0));
    ScriptedConsole con("good.dat\nk");
    read_filter_action(*p, con);
    EXPECT_NE(con.transcript().find("File was successfully read\n"), npos) << format_name(f);
    EXPECT_TRUE(p->rrc.rrc_filt == 3 && p->rrc.Re_rrc_filt[5] == 5.25L) << format_name(f);
  }
}

}  // namespace
}  // namespace refx
