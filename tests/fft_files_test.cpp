// FFT files: both formats written and read back, and hand-made files.
#include "spectral/fft_files.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "shell/float80.h"
#include "spectral/mag_phase.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A text file: comment, "x", one line per (frequency, dB, degrees), "y".
std::string text_file(const std::vector<std::array<long double, 3>>& records) {
  std::string out = "a comment\nx\n";
  char line[200];
  for (const auto& r : records) {
    std::snprintf(line, sizeof line, "%.10Le %.10Le %.10Le\n", r[0], r[1], r[2]);
    out += line;
  }
  return out + "y\n";
}

// A binary file: the 256-byte comment block, then records of three values of `width` bytes.
std::string binary_file(const std::vector<std::array<long double, 3>>& records, int width) {
  std::string out(256, '\0');
  out.replace(0, 6, "binary");
  for (const auto& r : records)
    for (long double v : r) {
      unsigned char bytes[kFloat80Bytes];
      encode_float80(v, bytes);
      out.append(reinterpret_cast<const char*>(bytes), kFloat80Bytes);
      out.append(static_cast<std::size_t>(width - kFloat80Bytes), '\0');
    }
  return out;
}

// One value as "%.10Le" prints it: [-]d.dddddddddde(+|-)dd[d...].
std::size_t value_shape(const std::string& t, std::size_t i) {
  auto digit = [&](std::size_t j) {
    return j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]));
  };
  if (i < t.size() && t[i] == '-') ++i;
  if (!digit(i) || t.compare(i + 1, 1, ".") != 0) return std::string::npos;
  i += 2;
  for (int d = 0; d < 10; ++d, ++i)
    if (!digit(i)) return std::string::npos;
  if (i + 2 >= t.size() || t[i] != 'e' || (t[i + 1] != '+' && t[i + 1] != '-'))
    return std::string::npos;
  i += 2;
  const std::size_t start = i;
  while (digit(i)) ++i;
  return i - start >= 2 ? i : std::string::npos;
}

// Three such values separated by single blanks, nothing else.
bool record_shape(const std::string& line) {
  std::size_t i = 0;
  for (int v = 0; v < 3; ++v) {
    if (v > 0 && (i >= line.size() || line[i++] != ' ')) return false;
    i = value_shape(line, i);
    if (i == std::string::npos) return false;
  }
  return i == line.size();
}

TEST(FftFileShape, RecordShapeCheck) {
  EXPECT_TRUE(record_shape("0.0000000000e+00 -1.2345678901e-05 1.8000000000e+02"));
  EXPECT_FALSE(record_shape("0.000000000e+00 1.0000000000e+00 1.0000000000e+00"));
  EXPECT_FALSE(record_shape("1.0000000000e+00  1.0000000000e+00 1.0000000000e+00"));
  EXPECT_FALSE(record_shape("1.0000000000e+00 1.0000000000e+00"));
}

struct FftFiles : ::testing::Test {
  TempDir dir;
  // 1024 points at 1024 samples/s: the program's step is exactly 1 Hz.
  std::unique_ptr<Program> p = started_program(1024.0L, 1024);
  FftSlots& s = p->fft;
  const long n = 1024;

  void fill_slot1(unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<long double> dist(-5.0L, 5.0L);
    for (long k = 0; k < n; ++k) {
      s.fftr1[k] = dist(gen);
      s.ffti1[k] = dist(gen);
    }
    calc_fft_mag_ph_no_avg(*p, &n, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(),
                           s.fft1ph.data());
  }
  void save1(ScriptedConsole& con, long count) {
    save_fft(*p, con, 1, s.fftr1.data(), s.ffti1.data(), s.fft1mag.data(), s.fft1ph.data(),
             &s.deltaf, &count);
  }
  // Reads into slot 2; returns the step found (starting from a marker value).
  long double read2(ScriptedConsole& con, long double delf = -7) {
    read_fft(*p, con, 2, s.fftr2.data(), s.ffti2.data(), s.fft2mag.data(), s.fft2ph.data(), &delf,
             &s.num_ptsa2);
    return delf;
  }
  void mark_slot2() {
    for (long k = 0; k < n; ++k) {
      s.fftr2[k] = 3;
      s.ffti2[k] = 4;
      s.fft2mag[k] = 55;
      s.fft2ph[k] = 66;
    }
    s.num_ptsa2 = -5;
  }
  // n records with the given step; bin k has dB -k/10 and phase k/8 degrees.
  std::vector<std::array<long double, 3>> records(long count, long double step) {
    std::vector<std::array<long double, 3>> r;
    for (long k = 0; k < count; ++k) r.push_back({k * step, -k / 10.0L, k / 8.0L});
    return r;
  }
};

TEST_F(FftFiles, TextSaveWritesCommentMarkersAndOneLinePerBin) {
  fill_slot1(1);
  ScriptedConsole con("spec.txt\nline with  blanks\n");
  save1(con, n);
  EXPECT_EQ(con.transcript(), "Enter file name for FFT 1:\nEnter single line of comments:\n");
  const std::vector<std::string> lines = lines_of(dir.read("spec.txt"));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(n + 3));
  EXPECT_EQ(lines[0], "line with  blanks");
  EXPECT_EQ(lines[1], "x");
  EXPECT_EQ(lines.back(), "y");
  for (long k = 0; k < n; ++k) {
    const std::string& line = lines[k + 2];
    ASSERT_TRUE(record_shape(line)) << line;
    long double f, mag, ph;
    ASSERT_EQ(std::sscanf(line.c_str(), "%Le %Le %Le", &f, &mag, &ph), 3);
    EXPECT_EQ(f, static_cast<long double>(k));
    EXPECT_NEAR(static_cast<double>(mag), static_cast<double>(s.fft1mag[k]),
                1e-9 * std::fabs(static_cast<double>(s.fft1mag[k])) + 1e-20);
    EXPECT_NEAR(static_cast<double>(ph), static_cast<double>(s.fft1ph[k]),
                1e-9 * std::fabs(static_cast<double>(s.fft1ph[k])) + 1e-20);
  }
}

TEST_F(FftFiles, TextRoundTripGivesEveryRecordTheSameStepAndNoWarning) {
  fill_slot1(2);
  ScriptedConsole save("rt.txt\nc\n");
  save1(save, n);
  ScriptedConsole con("rt.txt\n");
  const long double delf = read2(con);
  EXPECT_EQ(con.transcript(), "Enter file name for FFT 2, or Q to quit:\n");
  EXPECT_EQ(s.num_ptsa2, n);
  EXPECT_EQ(delf, s.deltaf);
  for (long k = 0; k < n; ++k) {
    const long double size = std::hypot(s.fftr1[k], s.ffti1[k]);
    ASSERT_NEAR(static_cast<double>((s.fftr2[k] - s.fftr1[k]) / size), 0.0, 1e-8) << k;
    ASSERT_NEAR(static_cast<double>((s.ffti2[k] - s.ffti1[k]) / size), 0.0, 1e-8) << k;
  }
}

TEST_F(FftFiles, BinarySaveWritesCommentBlockAnd36ByteRecords) {
  fill_slot1(3);
  p->i_rw_bin_ascii = 1;
  ScriptedConsole con("spec.bin\nbinary comment\n");
  save1(con, 100);
  const std::string bytes = dir.read("spec.bin");
  ASSERT_EQ(bytes.size(), 256u + 36u * 100u);
  EXPECT_EQ(std::string(bytes.c_str()), "binary comment");
  for (long k = 0; k < 100; ++k) {
    const unsigned char* rec = reinterpret_cast<const unsigned char*>(bytes.data()) + 256 + 36 * k;
    EXPECT_EQ(decode_float80(rec), static_cast<long double>(k));
    EXPECT_EQ(decode_float80(rec + 12), s.fftr1[k]);
    EXPECT_EQ(decode_float80(rec + 24), s.ffti1[k]);
  }
}

TEST_F(FftFiles, BinaryRoundTripIsExact) {
  fill_slot1(4);
  p->i_rw_bin_ascii = 1;
  ScriptedConsole save("rt.bin\nc\n");
  save1(save, n);
  ScriptedConsole con("rt.bin\n");
  EXPECT_EQ(read2(con), s.deltaf);
  EXPECT_EQ(con.transcript(), "Enter file name for FFT 2, or Q to quit:\n");
  EXPECT_EQ(s.num_ptsa2, n);
  for (long k = 0; k < n; ++k) {
    ASSERT_EQ(s.fftr2[k], s.fftr1[k]);
    ASSERT_EQ(s.ffti2[k], s.ffti1[k]);
    ASSERT_EQ(s.fft2mag[k], s.fft1mag[k]);
    ASSERT_EQ(s.fft2ph[k], s.fft1ph[k]);
  }
}

TEST_F(FftFiles, ShortTextFileFilledWithTheFloor) {
  dir.write("short.txt", text_file(records(100, 1)));
  mark_slot2();
  ScriptedConsole con("short.txt\n1\n");
  read2(con);
  EXPECT_EQ(con.transcript(),
            "Enter file name for FFT 2, or Q to quit:\n"
            "Warning: number of points in wf 2 less than num_meas_points;\n"
            "Fill remaining values with small value? 1=Y, 0=N:\n");
  EXPECT_EQ(s.num_ptsa2, 100);
  for (long k = 0; k < 100; ++k) {
    const long double a = std::pow(10.0L, -k / 200.0L);
    ASSERT_NEAR(static_cast<double>(std::hypot(s.fftr2[k], s.ffti2[k]) / a), 1.0, 1e-7) << k;
    ASSERT_NEAR(static_cast<double>(std::atan2(s.ffti2[k], s.fftr2[k]) * 180 / p->pi), k / 8.0,
                1e-9);
  }
  for (long k = 100; k < n; ++k) {
    ASSERT_EQ(s.fft2mag[k], -1000.0L);
    ASSERT_EQ(s.fft2ph[k], 0.0L);
    ASSERT_GT(s.fftr2[k], 0.9e-50L);
    ASSERT_LT(s.fftr2[k], 1.1e-50L);
    ASSERT_EQ(s.ffti2[k], 0.0L);
  }
}

TEST_F(FftFiles, ShortFileNotFilledKeepsFormerValues) {
  dir.write("short.txt", text_file(records(100, 1)));
  mark_slot2();
  ScriptedConsole con("short.txt\n0\n");
  read2(con);
  EXPECT_EQ(s.num_ptsa2, 100);
  EXPECT_EQ(s.fft2mag[100], 55);
  EXPECT_EQ(s.fft2ph[n - 1], 66);
  EXPECT_EQ(s.fft2mag[99], -9.9L);
}

TEST_F(FftFiles, ShortBinaryFileFilledWithZero) {
  p->i_rw_bin_ascii = 1;
  dir.write("short.bin", binary_file(records(100, 1), 12));
  mark_slot2();
  ScriptedConsole con("short.bin\n1\n");
  read2(con);
  EXPECT_EQ(con.transcript(),
            "Enter file name for FFT 2, or Q to quit:\n"
            "Warning: number of points in wf 2 less than num_meas_points;\n"
            "Fill remaining values with zero? 1=Y, 0=N:\n");
  EXPECT_EQ(s.num_ptsa2, 100);
  EXPECT_EQ(s.fftr2[7], -0.7L);  // the record's second and third values are real and imaginary
  EXPECT_EQ(s.ffti2[7], 7 / 8.0L);
  for (long k = 100; k < n; ++k) {
    ASSERT_EQ(s.fftr2[k], 0.0L);
    ASSERT_EQ(s.ffti2[k], 0.0L);
    ASSERT_EQ(s.fft2mag[k], -1000.0L);
    ASSERT_EQ(s.fft2ph[k], 90.0L);
  }
}

TEST_F(FftFiles, WindowsBinaryUses30ByteRecordsAndOneWordComments) {
  p = started_program(1024.0L, 1024, kWindowsBuild);
  p->i_rw_bin_ascii = 1;
  FftSlots& w = p->fft;
  for (long k = 0; k < n; ++k) {
    w.fftr1[k] = k;
    w.ffti1[k] = -k;
  }
  long count = n;
  ScriptedConsole con("win.bin\ntwo words\n");
  save_fft(*p, con, 1, w.fftr1.data(), w.ffti1.data(), w.fft1mag.data(), w.fft1ph.data(), &w.deltaf,
           &count);
  const std::string bytes = dir.read("win.bin");
  ASSERT_EQ(bytes.size(), 256u + 30u * n);
  EXPECT_EQ(std::string(bytes.c_str()), "two");
  long double delf = 0;
  ScriptedConsole back("win.bin\n");
  read_fft(*p, back, 2, w.fftr2.data(), w.ffti2.data(), w.fft2mag.data(), w.fft2ph.data(), &delf,
           &w.num_ptsa2);
  EXPECT_EQ(w.num_ptsa2, n);
  EXPECT_EQ(w.fftr2[n - 1], n - 1);
  EXPECT_EQ(w.ffti2[n - 1], -(n - 1));
}

TEST_F(FftFiles, StepWarningOnlyBeyondAHundredthOfAHertz) {
  for (long double off : {0.005L, 0.02L, -0.02L}) {
    dir.write("step.txt", text_file(records(n, 1 + off)));
    ScriptedConsole con("step.txt\nk");
    const long double delf = read2(con);
    EXPECT_NEAR(static_cast<double>(delf), static_cast<double>(1 + off), 1e-12);
    EXPECT_EQ(s.num_ptsa2, n);
    const bool warned = std::fabs(off) > 0.01L;
    EXPECT_EQ(con.transcript(),
              std::string("Enter file name for FFT 2, or Q to quit:\n") +
                  (warned ? "Warning - delf in FFT 2 file doesn't match program value;\n"
                            "Press any A/N key to continue\n"
                          : ""))
        << "offset " << static_cast<double>(off);
    EXPECT_EQ(con.waits(), warned ? 1 : 0);
    EXPECT_EQ(s.deltaf, 1.0L);  // the program's step never changes
  }
}

TEST_F(FftFiles, FilesWithoutTwoRecordsSkipTheStepCheck) {
  dir.write("one.txt", text_file({{500, -3, 45}}));
  ScriptedConsole con("one.txt\n0\n");
  EXPECT_EQ(read2(con), -7);  // no step found: the caller's value stays
  EXPECT_EQ(s.num_ptsa2, 1);
  EXPECT_EQ(con.transcript().find("delf"), std::string::npos);
  EXPECT_EQ(con.waits(), 0);

  dir.write("none.txt", "comment only\nx\ny\n");
  ScriptedConsole empty("none.txt\n0\n");
  read2(empty);
  EXPECT_EQ(s.num_ptsa2, 0);
  EXPECT_EQ(empty.transcript(),
            "Enter file name for FFT 2, or Q to quit:\n"
            "Warning - no data was found\n"
            "Warning: number of points in wf 2 less than num_meas_points;\n"
            "Fill remaining values with small value? 1=Y, 0=N:\n");
}

TEST_F(FftFiles, MalformedNumberEndsTheData) {
  std::string text = text_file(records(5, 1));
  text.replace(text.find("2.0000000000e+00 "), 1, "z");
  dir.write("bad.txt", text);
  ScriptedConsole con("bad.txt\n0\n");
  read2(con);
  EXPECT_EQ(s.num_ptsa2, 2);
}

TEST_F(FftFiles, TruncatedBinaryRecordIsNotCounted) {
  p->i_rw_bin_ascii = 1;
  std::string bytes = binary_file(records(3, 1), 12);
  bytes.resize(bytes.size() - 5);
  dir.write("cut.bin", bytes);
  mark_slot2();
  ScriptedConsole con("cut.bin\n0\n");
  read2(con);
  EXPECT_EQ(s.num_ptsa2, 2);
  EXPECT_EQ(s.fftr2[2], 3);  // the incomplete record left bin 2 as it was
}

TEST_F(FftFiles, ReadPromptRepeatsTakesOneWordAndQuitsOnQ) {
  dir.write("f.txt", text_file(records(n, 1)));
  mark_slot2();
  ScriptedConsole quit("missing.txt\nq\n");
  EXPECT_EQ(read2(quit), -7);
  EXPECT_EQ(quit.transcript(),
            "Enter file name for FFT 2, or Q to quit:\n"
            "Error opening file missing.txt;\n"
            "Enter file name for FFT 2, or Q to quit:\n");
  EXPECT_EQ(s.num_ptsa2, -5);
  EXPECT_EQ(s.fftr2[0], 3);
  EXPECT_EQ(s.fft2mag[0], 55);

  ScriptedConsole word("f.txt trailing words\n");
  read2(word);
  EXPECT_EQ(s.num_ptsa2, n);
}

TEST_F(FftFiles, SaveRetriesAndQAtTheRetryAbandons) {
  fill_slot1(5);
  ScriptedConsole abandon("nodir/a.txt\nQ\n");
  save1(abandon, n);
  EXPECT_EQ(abandon.transcript(),
            "Enter file name for FFT 1:\n"
            "Error opening file, enter another name or Q to quit:\n"
            "File save aborted\n");
  EXPECT_FALSE(dir.exists("Q"));

  ScriptedConsole retry("nodir/a.txt\nok.txt\nc\n");
  save1(retry, 10);
  EXPECT_EQ(retry.transcript(),
            "Enter file name for FFT 1:\n"
            "Error opening file, enter another name or Q to quit:\n"
            "Enter single line of comments:\n");
  EXPECT_EQ(lines_of(dir.read("ok.txt")).size(), 13u);
}

}  // namespace
}  // namespace refx
