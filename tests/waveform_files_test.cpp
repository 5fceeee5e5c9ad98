// Time waveform files: both formats against hand-made text and bytes, round trips, and
// every warning of the read.
#include "waveforms/waveform_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "shell/program.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

const char* kShort =
    "Warning: number of points is less than max_num_pts;\n"
    "Fill remaining values with 0s? 1=Y, 0=N:\n";
const char* kFilled =
    "Warning - array is filled up, but not at end of file;\n"
    "Press any A/N key to continue\n";
const char* kNoData = "Warning - no data was found\n";
const char* kInterval =
    "Warning - delt in file doesnt match program value;\n"
    "Press any A/N key to continue\n";

std::string read_prompt(int slot) {
  return "Enter file name for time waveform " + std::to_string(slot) + ", or Q to quit:\n";
}

// One x87 extended value as its ten bytes: significand (explicit integer bit) then
// sign and exponent, little-endian.
std::string x87(std::uint64_t significand, unsigned sign_exponent) {
  std::string bytes;
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>((significand >> (8 * i)) & 0xFF);
  bytes += static_cast<char>(sign_exponent & 0xFF);
  bytes += static_cast<char>(sign_exponent >> 8);
  return bytes;
}

std::string comment_block(const std::string& text) {
  std::string block = text;
  block.resize(256, '\0');
  return block;
}

void read_slot(Program& p, ScriptedConsole& con, int slot) {
  read_time_waveform(p, con, p.wf.slot(slot), p.num_meas_points, p.wf.file_name);
}

// An ascii file with the given "time value" lines between the header and "y".
std::string ascii_file(const std::vector<std::pair<double, double>>& points, bool closing_y) {
  std::ostringstream text;
  text << "comment\nx\n";
  for (const auto& pt : points) text << pt.first << "  " << pt.second << "\n";
  if (closing_y) text << "y\n";
  return text.str();
}

TEST(AsciiWaveformFile, SavedLayoutIsCommentXPointLinesAndY) {
  TempDir dir;
  auto p = started_program(1000.0L, 8);
  p->wf.num_ptst1 = 3;
  p->wf.deltat1 = 0.5L;
  p->wf.y1a[0] = 1.25L;
  p->wf.y1a[1] = -3.0L;
  p->wf.y1a[2] = 123456.789L;
  ScriptedConsole con("out.txt\nmy comment line\n");
  save_time_waveform(*p, con, p->wf.slot(1));
  EXPECT_EQ(con.transcript(),
            "Enter file name for time waveform 1:\nEnter single line of comments:\n");
  EXPECT_EQ(dir.read("out.txt"),
            "my comment line\n"
            "x\n"
            "  0.0000000000e+00    1.2500000000e+00\n"
            "  5.0000000000e-01   -3.0000000000e+00\n"
            "  1.0000000000e+00    1.2345678900e+05\n"
            "y\n");
}

TEST(AsciiWaveformFile, RoundTripKeepsElevenDigitsCountAndFirstInterval) {
  TempDir dir;
  auto p = started_program();  // 1048576 samples/s, 4096 points
  const long n = p->num_meas_points;
  std::srand(7);
  for (long i = 0; i < n; ++i)
    p->wf.y1a[i] = (std::rand() - RAND_MAX / 2) * 1.0e-3L / 3.0L * ((i % 5) + 1);
  ScriptedConsole con("wave.txt\nround trip\nwave.txt\n");
  save_time_waveform(*p, con, p->wf.slot(1));
  read_slot(*p, con, 2);

  EXPECT_EQ(p->wf.num_ptst2, n);
  for (long i = 0; i < n; ++i) {
    const long double a = p->wf.y1a[i], b = p->wf.y2a[i];
    ASSERT_LE(std::fabs(a - b), 5e-11L * std::fabs(a)) << "point " << i;
  }
  // The interval is the difference of the first two times as printed.
  const std::string text = dir.read("wave.txt");
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);
  std::getline(lines, line);
  const long double t0 = std::strtold(line.c_str(), nullptr);
  std::getline(lines, line);
  const long double t1 = std::strtold(line.c_str(), nullptr);
  EXPECT_EQ(p->wf.deltat2, t1 - t0);
  EXPECT_NE(p->wf.deltat2, p->delt);  // ten printed digits cannot hold 2^-20 exactly
  // A full file closed by "y": no warning at all, no question, no pause.
  EXPECT_EQ(con.transcript(),
            "Enter file name for time waveform 1:\n"
            "Enter single line of comments:\n" +
                read_prompt(2));
  EXPECT_EQ(con.waits(), 0);
}

TEST(AsciiWaveformFile, IntervalWarningDependsOnSinglePrecisionDeltat) {
  TempDir dir;
  // With 10 samples/s the float deltat lies about 1.5e-9 from 0.1: the read warns.
  auto p = started_program(10.0L, 8);
  ScriptedConsole con("w.txt\nc\nw.txt\nk");
  save_time_waveform(*p, con, p->wf.slot(1));
  read_slot(*p, con, 1);
  EXPECT_EQ(con.transcript(),
            "Enter file name for time waveform 1:\n"
            "Enter single line of comments:\n" +
                read_prompt(1) + kInterval);
  EXPECT_EQ(p->wf.deltat1, 0.1L);  // the file's interval is kept
  EXPECT_EQ(con.waits(), 1);
}

TEST(AsciiWaveformFile, ShortFileAsksToFillAndZeroAnswerKeepsOldSamples) {
  TempDir dir;
  dir.write("short.txt", ascii_file({{0.0, 1.5}, {0.25, 2.5}, {0.5, 3.5}}, true));
  auto p = started_program(4.0L, 8);  // deltat 0.25: no interval warning
  for (int i = 0; i < 8; ++i) p->wf.y1a[i] = 100 + i;
  ScriptedConsole con("short.txt\n0\n");
  read_slot(*p, con, 1);
  EXPECT_EQ(con.transcript(), read_prompt(1) + kShort);
  EXPECT_EQ(p->wf.num_ptst1, 3);
  EXPECT_EQ(p->wf.y1a[2], 3.5L);
  EXPECT_EQ(p->wf.y1a[3], 103.0L);
  EXPECT_EQ(p->wf.y1a[7], 107.0L);

  // A later save writes only the file's three points.
  ScriptedConsole save("again.txt\nc\n");
  save_time_waveform(*p, save, p->wf.slot(1));
  EXPECT_EQ(dir.read("again.txt"), std::string("c\nx\n") +
                                       "  0.0000000000e+00    1.5000000000e+00\n"
                                       "  2.5000000000e-01    2.5000000000e+00\n"
                                       "  5.0000000000e-01    3.5000000000e+00\n"
                                       "y\n");

  // Answering 1 fills zeros up to the capacity and makes that the count.
  ScriptedConsole fill("short.txt\n1\n");
  read_slot(*p, fill, 1);
  EXPECT_EQ(p->wf.num_ptst1, 8);
  for (int i = 3; i < 8; ++i) EXPECT_EQ(p->wf.y1a[i], 0.0L);
}

TEST(AsciiWaveformFile, EmptyFileReportsNoDataThenTheShortFileQuestion) {
  TempDir dir;
  dir.write("empty.txt", "only a comment\nx\ny\n");
  auto p = started_program(4.0L, 8);
  ScriptedConsole con("empty.txt\n0\n");
  read_slot(*p, con, 1);
  EXPECT_EQ(con.transcript(), read_prompt(1) + kNoData + kShort);
  EXPECT_EQ(p->wf.num_ptst1, 0);
  // Fewer than two points: the interval stays at deltat.
  EXPECT_EQ(p->wf.deltat1, static_cast<long double>(p->deltat));
}

TEST(AsciiWaveformFile, LongFileWarnsFilledUpButExactFileWithYDoesNot) {
  TempDir dir;
  auto p = started_program(4.0L, 4);
  std::vector<std::pair<double, double>> five;
  for (int i = 0; i < 5; ++i) five.push_back({i * 0.25, 10.0 + i});
  dir.write("long.txt", ascii_file(five, false));
  five.pop_back();
  dir.write("exact.txt", ascii_file(five, true));
  dir.write("exact_no_y.txt", ascii_file(five, false));

  ScriptedConsole con("long.txt\nk");
  read_slot(*p, con, 1);
  EXPECT_EQ(con.transcript(), read_prompt(1) + kFilled);
  EXPECT_EQ(con.waits(), 1);
  EXPECT_EQ(p->wf.num_ptst1, 4);
  EXPECT_EQ(p->wf.y1a[3], 13.0L);
  EXPECT_EQ(p->wf.y1a[4], 0.0L);  // the surplus point is not read

  for (const char* name : {"exact.txt", "exact_no_y.txt"}) {
    ScriptedConsole quiet(std::string(name) + "\n");
    read_slot(*p, quiet, 2);
    EXPECT_EQ(quiet.transcript(), read_prompt(2)) << name;
    EXPECT_EQ(p->wf.num_ptst2, 4) << name;
  }
}

TEST(AsciiWaveformFile, HeaderIsAlwaysTwoLinesAndALoneLastNumberIsAPoint) {
  TempDir dir;
  auto p = started_program(4.0L, 8);
  // No "x" line: the first data line is taken as header.
  dir.write("nox.txt", "comment\n0 1\n0.25 2\n0.5 3\n");
  ScriptedConsole con("nox.txt\n0\n");
  read_slot(*p, con, 1);
  EXPECT_EQ(p->wf.num_ptst1, 2);
  EXPECT_EQ(p->wf.y1a[0], 2.0L);
  EXPECT_EQ(p->wf.y1a[1], 3.0L);
  EXPECT_EQ(p->wf.deltat1, 0.25L);

  // Numbers are a stream: spacing and line breaks do not matter; a lone last number is
  // stored as the last point.
  dir.write("lone.txt", "c\nx\n0 1 0.5\n2   1.0\n\n3 7.5\n");
  ScriptedConsole lone("lone.txt\n0\nk");
  read_slot(*p, lone, 2);
  EXPECT_EQ(p->wf.num_ptst2, 4);
  EXPECT_EQ(p->wf.y2a[0], 1.0L);
  EXPECT_EQ(p->wf.y2a[1], 2.0L);
  EXPECT_EQ(p->wf.y2a[2], 3.0L);
  EXPECT_EQ(p->wf.y2a[3], 7.5L);
  EXPECT_EQ(p->wf.deltat2, 0.5L);
  EXPECT_EQ(lone.transcript(), read_prompt(2) + kShort + kInterval);
}

TEST(WaveformRead, ResetsStatusAndQuittingChangesOnlyShiftAndInterval) {
  TempDir dir;
  dir.write("w.txt", ascii_file({{0.0, 4.0}, {0.25, 5.0}}, true));
  auto p = started_program(4.0L, 2);
  TimeWaveforms& wf = p->wf;
  auto disturb = [&] {
    wf.y1a[0] = 9;
    wf.num_ptst1 = 1;
    wf.deltat1 = 3;
    wf.i_shift_wf1 = 1;
    wf.i_truncatet1 = 1;
    wf.scale_wf1 = 2;
  };
  // A completed read replaces the samples and puts the status back to as-read.
  disturb();
  ScriptedConsole con("1w.txt\nq");
  readt_from_disk(*p, con);
  EXPECT_EQ(wf.y1a[0], 4.0L);
  EXPECT_EQ(wf.num_ptst1, 2);
  EXPECT_EQ(wf.i_truncatet1, 2);
  EXPECT_EQ(wf.scale_wf1, 1.0L);
  EXPECT_EQ(wf.i_shift_wf1, 0);
  EXPECT_EQ(wf.deltat1, 0.25L);

  // Quitting the prompt: only the shift (0) and the interval (deltat) change.
  disturb();
  ScriptedConsole quit("1Q\nq");
  readt_from_disk(*p, quit);
  EXPECT_EQ(wf.y1a[0], 9.0L);
  EXPECT_EQ(wf.num_ptst1, 1);
  EXPECT_EQ(wf.i_truncatet1, 1);
  EXPECT_EQ(wf.scale_wf1, 2.0L);
  EXPECT_EQ(wf.i_shift_wf1, 0);
  EXPECT_EQ(wf.deltat1, static_cast<long double>(p->deltat));
}

TEST(WaveformRead, MenuTextsAndBothSlotsWithRetryAfterAMissingFile) {
  TempDir dir;
  dir.write("a.txt", ascii_file({{0.0, 1.0}, {0.25, 2.0}}, true));
  dir.write("b c.txt", ascii_file({{0.0, 3.0}, {0.25, 4.0}}, true));
  auto p = started_program(4.0L, 2);
  p->wf.i_shift_wf2 = 5;
  ScriptedConsole con("xbnope\na.txt\nb c.txt\nq");
  readt_from_disk(*p, con);
  const std::string menu =
      "1 to read time waveform 1 from disk\n2 to read time waveform 2 from disk\n"
      "B to read both time waveforms from disk\nQ to return to time waveforms menu\n"
      "Enter Command :\n";
  ASSERT_EQ(con.screens().size(), 3u);
  EXPECT_EQ(con.screens()[0], menu);
  EXPECT_EQ(con.screens()[1],
            menu + read_prompt(1) + "Error opening file nope;\n" + read_prompt(1) + read_prompt(2));
  EXPECT_EQ(p->wf.y1a[1], 2.0L);
  EXPECT_EQ(p->wf.y2a[1], 4.0L);  // a read prompt takes the whole line, blank included
  EXPECT_EQ(p->wf.i_shift_wf2, 0);
}

TEST(WaveformSave, MenuTextsAndQuitAtRetryWritesNothing) {
  TempDir dir;
  auto p = started_program(4.0L, 2);
  ScriptedConsole con("1no/such/dir\nq\nQ");
  savet_to_disk(*p, con);
  const std::string menu =
      "1 to save time waveform 1 to disk\n2 to save time waveform 2 to disk\n"
      "B to save both time waveforms to disk\nQ to return to time waveforms menu\n"
      "Enter Command :\n";
  ASSERT_EQ(con.screens().size(), 2u);
  EXPECT_EQ(con.screens()[0], menu +
                                  "Enter file name for time waveform 1:\n"
                                  "Error opening file, enter another name or Q to quit:\n"
                                  "File save aborted\n");
  EXPECT_EQ(con.screens()[1], menu);
  EXPECT_FALSE(dir.exists("no"));
}

TEST(WaveformSave, BothSlotsEachWithItsOwnIntervalAndOnlyTheFirstWordOfTheName) {
  TempDir dir;
  auto p = started_program(4.0L, 2);
  p->wf.deltat2 = 2.0L;
  p->wf.y2a[1] = -1.0L;
  ScriptedConsole con("bone.txt ignored\nfirst\nbad/x/y\ntwo.txt\nsecond\nq");
  savet_to_disk(*p, con);
  EXPECT_EQ(dir.read("one.txt"),
            "first\nx\n"
            "  0.0000000000e+00    0.0000000000e+00\n"
            "  2.5000000000e-01    0.0000000000e+00\ny\n");
  EXPECT_EQ(dir.read("two.txt"),
            "second\nx\n"
            "  0.0000000000e+00    0.0000000000e+00\n"
            "  2.0000000000e+00   -1.0000000000e+00\ny\n");
}

// Binary-ri: 256-byte comment, then (time, value) records of two stored extended values.
class BinaryWaveformFile : public ::testing::Test {
 protected:
  void SetUp() override { p_->i_rw_bin_ascii = 1; }
  TempDir dir_;
  std::unique_ptr<Program> p_ = started_program(4.0L, 4);
};

const std::string kZero = x87(0, 0);
const std::string kQuarter = x87(0x8000000000000000ull, 0x3FFD);  // 0.25
const std::string kHalf = x87(0x8000000000000000ull, 0x3FFE);     // 0.5
const std::string kOne = x87(0x8000000000000000ull, 0x3FFF);
const std::string kMinusTwo = x87(0x8000000000000000ull, 0xC000);
const std::string kPi = x87(0xC90FDAA22168C235ull, 0x4000);
const std::string kThird = x87(0xAAAAAAAAAAAAAAABull, 0x3FFD);

TEST_F(BinaryWaveformFile, HandMadeTwelveByteRecordsReadToExactExtendedValues) {
  // Two padding bytes after each value, deliberately not zero: they must be ignored.
  const std::string pad = "\xAA\x55";
  dir_.write("w.bin", comment_block("hand made") + kZero + pad + kPi + pad + kQuarter + pad +
                          kThird + pad + kHalf + pad + kMinusTwo + pad);
  ScriptedConsole con("w.bin\n0\n");
  read_time_waveform(*p_, con, p_->wf.slot(1), p_->num_meas_points, p_->wf.file_name);
  EXPECT_EQ(con.transcript(), read_prompt(1) + kShort);
  EXPECT_EQ(p_->wf.num_ptst1, 3);
  EXPECT_EQ(p_->wf.y1a[0], 3.141592653589793238462643383279502884L);
  EXPECT_EQ(p_->wf.y1a[1], 1.0L / 3.0L);
  EXPECT_EQ(p_->wf.y1a[2], -2.0L);
  EXPECT_EQ(p_->wf.deltat1, 0.25L);
}

TEST_F(BinaryWaveformFile, SavedFileHasExactlyTheTwelveByteLayout) {
  p_->wf.num_ptst1 = 3;
  p_->wf.deltat1 = 0.25L;
  p_->wf.y1a[0] = 1.0L;
  p_->wf.y1a[1] = 1.0L / 3.0L;
  p_->wf.y1a[2] = -2.0L;
  ScriptedConsole con("w.bin\nbinary comment\n");
  save_time_waveform(*p_, con, p_->wf.slot(1));
  const std::string pad(2, '\0');
  EXPECT_EQ(dir_.read("w.bin"), comment_block("binary comment") + kZero + pad + kOne + pad +
                                    kQuarter + pad + kThird + pad + kHalf + pad + kMinusTwo + pad);
}

TEST_F(BinaryWaveformFile, WindowsBuildUsesTenByteValues) {
  p_->build = &kWindowsBuild;
  p_->wf.num_ptst1 = 2;
  p_->wf.deltat1 = 0.5L;
  p_->wf.y1a[0] = 1.0L / 3.0L;
  p_->wf.y1a[1] = -2.0L;
  ScriptedConsole con("w.bin\nc\nw.bin\n0\nk");
  save_time_waveform(*p_, con, p_->wf.slot(1));
  EXPECT_EQ(dir_.read("w.bin"), comment_block("c") + kZero + kThird + kHalf + kMinusTwo);
  read_time_waveform(*p_, con, p_->wf.slot(2), p_->num_meas_points, p_->wf.file_name);
  EXPECT_EQ(p_->wf.num_ptst2, 2);
  EXPECT_EQ(p_->wf.y2a[0], 1.0L / 3.0L);
  EXPECT_EQ(p_->wf.deltat2, 0.5L);
}

TEST_F(BinaryWaveformFile, ShortHeaderEmptyTruncatedRecordAndSurplusRecords) {
  const std::string pad(2, '\0');
  // A file that ends inside the comment has no data.
  dir_.write("tiny.bin", "abc");
  ScriptedConsole tiny("tiny.bin\n0\n");
  read_time_waveform(*p_, tiny, p_->wf.slot(1), p_->num_meas_points, p_->wf.file_name);
  EXPECT_EQ(tiny.transcript(), read_prompt(1) + kNoData + kShort);
  EXPECT_EQ(p_->wf.num_ptst1, 0);

  // A record cut after its time: the time is the lone last number, stored as the point;
  // a value cut short yields nothing.
  dir_.write("cut.bin", comment_block("c") + kZero + pad + kOne + pad + kQuarter + pad + kPi + pad +
                            kHalf.substr(0, 6));
  ScriptedConsole cut("cut.bin\n0\n");
  read_time_waveform(*p_, cut, p_->wf.slot(1), p_->num_meas_points, p_->wf.file_name);
  EXPECT_EQ(p_->wf.num_ptst1, 2);
  dir_.write("lone.bin", comment_block("c") + kZero + pad + kOne + pad + kQuarter + pad + kPi +
                             pad + kHalf + pad);
  ScriptedConsole lone("lone.bin\n0\n");
  read_time_waveform(*p_, lone, p_->wf.slot(1), p_->num_meas_points, p_->wf.file_name);
  EXPECT_EQ(p_->wf.num_ptst1, 3);
  EXPECT_EQ(p_->wf.y1a[2], 0.5L);

  // Five records into four points: filled-up warning.
  std::string five = comment_block("c");
  for (int i = 0; i < 5; ++i) five += kZero + pad + kOne + pad;
  dir_.write("five.bin", five);
  ScriptedConsole full("five.bin\nkk");
  read_time_waveform(*p_, full, p_->wf.slot(1), p_->num_meas_points, p_->wf.file_name);
  EXPECT_EQ(full.transcript(), read_prompt(1) + kFilled + kInterval);
  EXPECT_EQ(p_->wf.num_ptst1, 4);
  EXPECT_EQ(p_->wf.deltat1, 0.0L);  // both first times are 0
}

TEST(WaveformRead, IntervalIsJudgedInSinglePrecisionOnLinuxAndDoubleOnWindows) {
  // A difference just below 1e-10 rounds above it in single precision.
  const long double near = 0.99999999999e-10L;
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    TempDir dir;
    auto p = started_program(1000.0L, 2, *build);
    p->i_rw_bin_ascii = 1;
    p->wf.num_ptst1 = 2;
    p->wf.deltat1 = static_cast<long double>(p->deltat) + near;
    ScriptedConsole con("w.bin\nc\nw.bin\nk");
    save_time_waveform(*p, con, p->wf.slot(1));
    read_time_waveform(*p, con, p->wf.slot(2), p->num_meas_points, p->wf.file_name);
    const bool warned = con.transcript().find(kInterval) != std::string::npos;
    EXPECT_EQ(warned, !build->windows) << build->config_file_name;
  }
}

}  // namespace
}  // namespace refx
