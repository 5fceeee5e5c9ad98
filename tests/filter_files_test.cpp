// Compression filter files: exact bytes and text against hand-made expectations, reading
// hand-made files, short and long files, the spacing check, round trips, and the R and S
// actions of the reflection removal menu.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "reflection/filter_file_actions.h"
#include "reflection/filter_files.h"
#include "shell/float80.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

const char* const kReadPrompt = "Enter file name containing compression filter, or Q to quit:\n";
const char* const kSavePrompt = "Enter file name to save compression filter:\n";
const char* const kCommentPrompt = "Enter single line of comments:\n";
const char* const kPauseLine = "Press any A/N key to continue\n";
const char* const kNoData = "Warning - no data was found\n";
const char* const kFewer =
    "Warning: number of points in rrc_filter file less than num_meas_points;\n";
const char* const kSpacing = "Warning - delf in rrc_filter file doesn't match program value;\n";

// Four bins at 1024 samples/s: the bin spacing is exactly 256.
std::unique_ptr<Program> four_bin_program(const BuildConstants& build = kLinuxBuild) {
  return started_program(1024.0L, 4, build);
}

// Dyadic values whose text and bytes can be written down by hand.
void set_known_filter(Program& p) {
  const long double re[4] = {1.0L, -2.0L, 0.5L, 0.25L};
  const long double im[4] = {0.0L, 0.75L, -1.5L, 0.125L};
  for (int k = 0; k < 4; ++k) {
    p.rrc.Re_rrc_filt[k] = re[k];
    p.rrc.Im_rrc_filt[k] = im[k];
  }
}

// A filter that no file in these tests holds, to see what a read leaves behind.
void set_sentinel_filter(Program& p) {
  for (int k = 0; k < 8; ++k) {
    p.rrc.Re_rrc_filt[k] = 100.0L + k;
    p.rrc.Im_rrc_filt[k] = -100.0L - k;
  }
}

void expect_sentinel_filter(const Program& p) {
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(p.rrc.Re_rrc_filt[k], 100.0L + k) << k;
    EXPECT_EQ(p.rrc.Im_rrc_filt[k], -100.0L - k) << k;
  }
}

// "%41.33Le" written out by hand: sign and leading digit, the given decimals padded with
// zeros to 33, the exponent, right-aligned in 41 characters.
std::string wide(const std::string& lead, const std::string& decimals, const std::string& exp) {
  std::string text = lead + "." + decimals + std::string(33 - decimals.size(), '0') + exp;
  return std::string(41 - text.size(), ' ') + text;
}

// The 10 value bytes of an extended value whose significand has only its top byte set.
std::string ext(unsigned char top, unsigned exponent_and_sign) {
  std::string b(7, '\0');
  b += static_cast<char>(top);
  b += static_cast<char>(exponent_and_sign & 0xFF);
  b += static_cast<char>(exponent_and_sign >> 8);
  return b;
}
const std::string kPad(2, '\0');

void read_into(Program& p, Console& con, long double* delf, long* num) {
  read_rrc_filt(p, con, p.rrc.rrc_filt_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf,
                num);
}

void save_from(Program& p, Console& con, long double delf, long n) {
  save_rrc_filter(p, con, p.rrc.rrc_filt_save_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt,
                  delf, n);
}

TEST(FilterFileSave, TextFormatLineByLine) {
  TempDir dir;
  auto p = four_bin_program();
  set_known_filter(*p);
  ScriptedConsole con("out.flt\nfilter of pulse A\n");
  save_from(*p, con, 256.0L, 4);

  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->rrc.rrc_filt_save_filename, "out.flt");
  EXPECT_EQ(con.transcript(), std::string(kSavePrompt) + kCommentPrompt);
  const std::string expected =
      "filter of pulse A\n"
      "x\n"
      "  0.0000000000e+00 " + wide("1", "", "e+00") + " " + wide("0", "", "e+00") + "\n" +
      "  2.5600000000e+02 " + wide("-2", "", "e+00") + " " + wide("7", "5", "e-01") + "\n" +
      "  5.1200000000e+02 " + wide("5", "", "e-01") + " " + wide("-1", "5", "e+00") + "\n" +
      "  7.6800000000e+02 " + wide("2", "5", "e-01") + " " + wide("1", "25", "e-01") + "\n" +
      "y\n";
  EXPECT_EQ(dir.read("out.flt"), expected);
}

TEST(FilterFileSave, BinaryFormatByteForByte) {
  TempDir dir;
  auto p = four_bin_program();
  p->i_rw_bin_ascii = 1;
  set_known_filter(*p);
  ScriptedConsole con("out.bin\nbinary comment\n");
  save_from(*p, con, 256.0L, 4);
  EXPECT_EQ(p->rrc.rrc_error, 0);

  std::string expected = "binary comment";
  expected += std::string(256 - expected.size(), '\0');
  const std::string records[4][3] = {
      {ext(0, 0), ext(0x80, 0x3FFF), ext(0, 0)},                   // 0, 1, 0
      {ext(0x80, 0x4007), ext(0x80, 0xC000), ext(0xC0, 0x3FFE)},  // 256, -2, 0.75
      {ext(0x80, 0x4008), ext(0x80, 0x3FFE), ext(0xC0, 0xBFFF)},  // 512, 0.5, -1.5
      {ext(0xC0, 0x4008), ext(0x80, 0x3FFD), ext(0x80, 0x3FFC)},  // 768, 0.25, 0.125
  };
  for (const auto& record : records)
    for (const auto& value : record) expected += value + kPad;
  const std::string written = dir.read("out.bin");
  EXPECT_EQ(written.size(), 256u + 4 * 36);
  EXPECT_EQ(written, expected);
}

TEST(FilterFileSave, WindowsBuildWritesTenByteValuesAndAOneWordComment) {
  TempDir dir;
  auto p = four_bin_program(kWindowsBuild);
  p->i_rw_bin_ascii = 1;
  set_known_filter(*p);
  ScriptedConsole con("win.bin\ntwo words\n");
  save_from(*p, con, 256.0L, 4);

  const std::string written = dir.read("win.bin");
  ASSERT_EQ(written.size(), 256u + 4 * 30);
  EXPECT_EQ(written.substr(0, 4), std::string("two") + '\0');
  // Record 1: 256, -2, 0.75 with no padding between the values.
  EXPECT_EQ(written.substr(256 + 30, 30), ext(0x80, 0x4007) + ext(0x80, 0xC000) +
                                              ext(0xC0, 0x3FFE));
}

TEST(FilterFileSave, QAsTheFirstNameIsAFileName) {
  TempDir dir;
  auto p = four_bin_program();
  set_known_filter(*p);
  ScriptedConsole con("Q\nc\n");
  save_from(*p, con, 256.0L, 4);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_TRUE(dir.exists("Q"));
  EXPECT_EQ(con.transcript(), std::string(kSavePrompt) + kCommentPrompt);
}

TEST(FilterFileSave, RetryPromptTakesAnotherNameOrGivesUpOnQ) {
  TempDir dir;
  auto p = four_bin_program();
  set_known_filter(*p);
  ScriptedConsole retry("no_dir/a.flt\nb.flt trailing words\nc\n");
  save_from(*p, retry, 256.0L, 4);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->rrc.rrc_filt_save_filename, "b.flt");
  EXPECT_TRUE(dir.exists("b.flt"));
  EXPECT_EQ(retry.transcript(), std::string(kSavePrompt) +
                                    "Error opening file, enter another name or Q to quit:\n" +
                                    kCommentPrompt);

  ScriptedConsole gives_up("no_dir/a.flt\nq\n");
  save_from(*p, gives_up, 256.0L, 4);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_EQ(gives_up.transcript(), std::string(kSavePrompt) +
                                       "Error opening file, enter another name or Q to quit:\n"
                                       "File save aborted\n");
  EXPECT_FALSE(dir.exists("q"));
}

TEST(FilterFileRead, HandMadeTextWithFreeLayout) {
  TempDir dir;
  auto p = four_bin_program();
  set_sentinel_filter(*p);
  // Records split across lines and joined on one; only the order of the numbers counts.
  dir.write("hand.flt",
            "any comment at all\nx\n0 1 0\n256 -2\n 0.75 512 0.5 -1.5\n768 0.25 0.125\ny\n");
  ScriptedConsole con("hand.flt\n");
  long double delf = -1;
  long num = -1;
  read_into(*p, con, &delf, &num);

  EXPECT_EQ(con.transcript(), kReadPrompt);
  EXPECT_EQ(con.waits(), 0);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(num, 4);
  EXPECT_EQ(delf, 256.0L);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "hand.flt");
  const long double re[4] = {1.0L, -2.0L, 0.5L, 0.25L};
  const long double im[4] = {0.0L, 0.75L, -1.5L, 0.125L};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(p->rrc.Re_rrc_filt[k], re[k]) << k;
    EXPECT_EQ(p->rrc.Im_rrc_filt[k], im[k]) << k;
  }
  EXPECT_EQ(p->rrc.Re_rrc_filt[4], 104.0L);  // beyond N nothing is touched
}

TEST(FilterFileRead, HandMadeBinaryIgnoresPaddingBytes) {
  TempDir dir;
  auto p = four_bin_program();
  p->i_rw_bin_ascii = 1;
  std::string bytes = "c" + std::string(255, '\x7f');  // bytes after the comment are ignored
  const std::string garbage_pad = "\xAB\xCD";
  const std::string values[4][3] = {
      {ext(0, 0), ext(0x80, 0x3FFF), ext(0, 0)},
      {ext(0x80, 0x4007), ext(0x80, 0xC000), ext(0xC0, 0x3FFE)},
      {ext(0x80, 0x4008), ext(0x80, 0x3FFE), ext(0xC0, 0xBFFF)},
      {ext(0xC0, 0x4008), ext(0x80, 0x3FFD), ext(0x80, 0x3FFC)},
  };
  for (const auto& record : values)
    for (const auto& value : record) bytes += value + garbage_pad;
  dir.write("hand.bin", bytes);
  ScriptedConsole con("hand.bin\n");
  long double delf = 0;
  long num = 0;
  read_into(*p, con, &delf, &num);

  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(num, 4);
  EXPECT_EQ(delf, 256.0L);
  EXPECT_EQ(p->rrc.Re_rrc_filt[1], -2.0L);
  EXPECT_EQ(p->rrc.Im_rrc_filt[1], 0.75L);
  EXPECT_EQ(p->rrc.Im_rrc_filt[2], -1.5L);
  EXPECT_EQ(p->rrc.Im_rrc_filt[3], 0.125L);
  EXPECT_EQ(con.waits(), 0);
}

TEST(FilterFileRead, ShortTextFileWarnsAndLeavesFilterAndNameAlone) {
  TempDir dir;
  auto p = four_bin_program();
  set_sentinel_filter(*p);
  p->rrc.rrc_filt_filename = "previous.flt";
  // Two whole records, then a third cut short by the end marker.
  dir.write("short.flt", "c\nx\n0 1 2\n256 3 4\n512 5\ny\n");
  ScriptedConsole con("short.flt\nk");
  long double delf = 0;
  long num = 0;
  read_into(*p, con, &delf, &num);

  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_EQ(num, 2);
  EXPECT_EQ(delf, 256.0L);
  EXPECT_EQ(con.transcript(), std::string(kReadPrompt) + kFewer + kPauseLine);
  EXPECT_EQ(con.waits(), 1);
  expect_sentinel_filter(*p);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "previous.flt");
}

TEST(FilterFileRead, EmptyFilesGiveBothWarnings) {
  TempDir dir;
  dir.write("header_only.flt", "c\nx\ny\n");
  dir.write("nothing.flt", "");
  dir.write("nothing.bin", "");
  dir.write("header_only.bin", std::string(256, '\0') + std::string(20, '\1'));  // < 1 record
  const char* files[4][2] = {{"header_only.flt", "2"}, {"nothing.flt", "2"},
                             {"nothing.bin", "1"}, {"header_only.bin", "1"}};
  for (const auto& file : files) {
    auto p = four_bin_program();
    p->i_rw_bin_ascii = std::atoi(file[1]);
    set_sentinel_filter(*p);
    ScriptedConsole con(std::string(file[0]) + "\nab");
    long double delf = 7;
    long num = 7;
    read_into(*p, con, &delf, &num);
    EXPECT_EQ(p->rrc.rrc_error, 1) << file[0];
    EXPECT_EQ(num, 0) << file[0];
    EXPECT_EQ(delf, 7.0L) << file[0];  // no spacing without two records
    EXPECT_EQ(con.transcript(),
              std::string(kReadPrompt) + kNoData + kPauseLine + kFewer + kPauseLine)
        << file[0];
    EXPECT_EQ(con.waits(), 2);
    expect_sentinel_filter(*p);
    EXPECT_EQ(p->rrc.rrc_filt_filename, "");
  }
}

TEST(FilterFileRead, ShortBinaryFileEndingInsideARecord) {
  TempDir dir;
  auto p = four_bin_program();
  p->i_rw_bin_ascii = 1;
  set_sentinel_filter(*p);
  std::string bytes(256, '\0');
  for (int k = 0; k < 3; ++k)
    bytes += ext(k == 0 ? 0 : 0x80, k == 0 ? 0 : 0x4006 + k) + kPad + ext(0x80, 0x3FFF) + kPad +
             ext(0x80, 0x3FFF) + kPad;
  bytes += ext(0x80, 0x3FFF) + kPad + ext(0x80, 0x3FFF);  // 1 value and a part of the second
  dir.write("cut.bin", bytes);
  ScriptedConsole con("cut.bin\nk");
  long double delf = 0;
  long num = 0;
  read_into(*p, con, &delf, &num);
  EXPECT_EQ(num, 3);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_EQ(con.transcript(), std::string(kReadPrompt) + kFewer + kPauseLine);
  expect_sentinel_filter(*p);
}

TEST(FilterFileRead, OneRecordSkipsTheSpacingCheck) {
  TempDir dir;
  auto p = four_bin_program();
  dir.write("one.flt", "c\nx\n0 1 2\ny\n");
  ScriptedConsole con("one.flt\nk");
  long double delf = 5;
  long num = 0;
  read_into(*p, con, &delf, &num);
  EXPECT_EQ(num, 1);
  EXPECT_EQ(delf, 5.0L);
  EXPECT_EQ(con.transcript(), std::string(kReadPrompt) + kFewer + kPauseLine);
}

TEST(FilterFileRead, MoreThanNRecordsReadsTheFirstNSilently) {
  TempDir dir;
  auto p = four_bin_program();
  set_sentinel_filter(*p);
  dir.write("long.flt", "c\nx\n0 1 -1\n256 2 -2\n512 3 -3\n768 4 -4\n1024 5 -5\n1280 6 -6\ny\n");
  ScriptedConsole con("long.flt\n");
  long double delf = 0;
  long num = 0;
  read_into(*p, con, &delf, &num);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(num, 4);
  EXPECT_EQ(con.transcript(), kReadPrompt);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(p->rrc.Re_rrc_filt[k], k + 1.0L);
    EXPECT_EQ(p->rrc.Im_rrc_filt[k], -(k + 1.0L));
  }
  EXPECT_EQ(p->rrc.Re_rrc_filt[4], 104.0L);
  EXPECT_EQ(p->rrc.Re_rrc_filt[5], 105.0L);
}

TEST(FilterFileRead, SpacingFarFromTheProgramsWarnsButTheFilterIsRead) {
  TempDir dir;
  dir.write("far.flt", "c\nx\n0 1 0\n256.02 2 0\n512 3 0\n768 4 0\ny\n");
  dir.write("near.flt", "c\nx\n0 1 0\n256.005 2 0\n512 3 0\n768 4 0\ny\n");
  dir.write("below.flt", "c\nx\n10 1 0\n255.98 2 0\n512 3 0\n768 4 0\ny\n");

  auto p = four_bin_program();
  ScriptedConsole far("far.flt\nk");
  long double delf = 0;
  long num = 0;
  read_into(*p, far, &delf, &num);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(far.transcript(), std::string(kReadPrompt) + kSpacing + kPauseLine);
  EXPECT_EQ(p->rrc.Re_rrc_filt[3], 4.0L);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "far.flt");

  ScriptedConsole below("below.flt\nk");
  read_into(*p, below, &delf, &num);
  EXPECT_NEAR(static_cast<double>(delf), 245.98, 1e-12);  // from the first two frequencies
  EXPECT_EQ(below.transcript(), std::string(kReadPrompt) + kSpacing + kPauseLine);

  ScriptedConsole near("near.flt\n");
  read_into(*p, near, &delf, &num);
  EXPECT_EQ(near.transcript(), kReadPrompt);
  EXPECT_EQ(p->rrc.rrc_error, 0);
}

TEST(FilterFileRead, QuitAndRetryAtTheNamePrompt) {
  TempDir dir;
  auto p = four_bin_program();
  set_sentinel_filter(*p);
  p->rrc.rrc_filt_filename = "kept.flt";
  for (const char* quit : {"q\n", "Q\n"}) {
    ScriptedConsole con(quit);
    long double delf = 0;
    long num = 0;
    read_into(*p, con, &delf, &num);
    EXPECT_EQ(p->rrc.rrc_error, 1);
    EXPECT_EQ(con.transcript(), kReadPrompt);  // no warning, no pause
    expect_sentinel_filter(*p);
    EXPECT_EQ(p->rrc.rrc_filt_filename, "kept.flt");
  }

  dir.write("good.flt", "c\nx\n0 9 0\n256 9 0\n512 9 0\n768 9 0\ny\n");
  p->rrc.rrc_error = 0;
  ScriptedConsole con("missing.flt\ngood.flt and more\n");
  long double delf = 0;
  long num = 0;
  read_into(*p, con, &delf, &num);
  EXPECT_EQ(con.transcript(),
            std::string(kReadPrompt) + "Error opening file missing.flt;\n" + kReadPrompt);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "good.flt");
  EXPECT_EQ(p->rrc.Re_rrc_filt[2], 9.0L);
}

// Values over the whole range of the type, of both signs, with many digits.
void fill_awkward_filter(Program& p, long n) {
  for (long k = 0; k < n; ++k) {
    p.rrc.Re_rrc_filt[k] = std::sin(static_cast<long double>(k) + 0.5L) *
                           std::pow(10.0L, static_cast<long double>(k % 17) - 8);
    p.rrc.Im_rrc_filt[k] = -1.0L / (3.0L + k) * std::pow(2.0L, static_cast<long double>(k % 5));
  }
  p.rrc.Re_rrc_filt[1] = std::numeric_limits<long double>::max();
  p.rrc.Im_rrc_filt[1] = -std::numeric_limits<long double>::min();
  p.rrc.Re_rrc_filt[2] = std::numeric_limits<long double>::denorm_min() * 12345;
  p.rrc.Im_rrc_filt[2] = -std::numeric_limits<long double>::epsilon();
}

TEST(FilterFileRoundTrip, TextGivesBackEveryValueAtThePrintedPrecision) {
  TempDir dir;
  const long n = 64;
  auto saver = started_program(1024.0L, n);
  fill_awkward_filter(*saver, n);
  ScriptedConsole save_con("rt.flt\nround trip\n");
  save_from(*saver, save_con, 16.0L, n);
  ASSERT_EQ(saver->rrc.rrc_error, 0);

  auto reader = started_program(1024.0L, n);
  ScriptedConsole read_con("rt.flt\n");
  long double delf = 0;
  long num = 0;
  read_into(*reader, read_con, &delf, &num);
  EXPECT_EQ(reader->rrc.rrc_error, 0);
  EXPECT_EQ(num, n);
  EXPECT_EQ(delf, 16.0L);
  // 34 significant decimal digits hold every 64-bit significand exactly.
  for (long k = 0; k < n; ++k) {
    EXPECT_EQ(reader->rrc.Re_rrc_filt[k], saver->rrc.Re_rrc_filt[k]) << k;
    EXPECT_EQ(reader->rrc.Im_rrc_filt[k], saver->rrc.Im_rrc_filt[k]) << k;
  }
}

TEST(FilterFileRoundTrip, BinaryGivesBackEveryValueBitForBit) {
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    TempDir dir;
    const long n = 64;
    auto saver = started_program(1024.0L, n, *build);
    saver->i_rw_bin_ascii = 1;
    fill_awkward_filter(*saver, n);
    saver->rrc.Re_rrc_filt[3] = std::numeric_limits<long double>::infinity();
    saver->rrc.Im_rrc_filt[3] = -0.0L;
    ScriptedConsole save_con("rt.bin\nc\n");
    save_from(*saver, save_con, 16.0L, n);

    auto reader = started_program(1024.0L, n, *build);
    reader->i_rw_bin_ascii = 1;
    ScriptedConsole read_con("rt.bin\n");
    long double delf = 0;
    long num = 0;
    read_into(*reader, read_con, &delf, &num);
    EXPECT_EQ(reader->rrc.rrc_error, 0);
    EXPECT_EQ(num, n);
    for (long k = 0; k < n; ++k) {
      unsigned char a[10], b[10];
      encode_float80(saver->rrc.Re_rrc_filt[k], a);
      encode_float80(reader->rrc.Re_rrc_filt[k], b);
      EXPECT_EQ(std::memcmp(a, b, 10), 0) << k;
      encode_float80(saver->rrc.Im_rrc_filt[k], a);
      encode_float80(reader->rrc.Im_rrc_filt[k], b);
      EXPECT_EQ(std::memcmp(a, b, 10), 0) << k;
    }
    EXPECT_TRUE(std::signbit(reader->rrc.Im_rrc_filt[3]));
  }
}

TEST(FilterFileActions, ReadReportsSuccessAndNamesTheFile) {
  TempDir dir;
  auto p = four_bin_program();
  dir.write("ok.flt", "c\nx\n0 1 0\n256 2 0\n512 3 0\n768 4 0\ny\n");
  ScriptedConsole con("ok.flt\nk");
  read_filter_action(*p, con);
  EXPECT_EQ(con.transcript(),
            std::string(kReadPrompt) + "File was successfully read\n" + kPauseLine);
  EXPECT_EQ(p->rrc.rrc_filt, 3);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "ok.flt");
  EXPECT_EQ(p->rrc.Re_rrc_filt[3], 4.0L);
}

TEST(FilterFileActions, FailedReadKeepsTheFilterItsStateAndTheShownName) {
  TempDir dir;
  auto p = four_bin_program();
  set_sentinel_filter(*p);
  p->rrc.rrc_filt = 3;
  p->rrc.rrc_filt_filename = "earlier.flt";
  p->rrc.rrc_error = 1;  // the action starts from a clean flag and sets it again itself
  dir.write("short.flt", "c\nx\n0 1 0\n256 2 0\ny\n");
  ScriptedConsole con("short.flt\nkk");
  read_filter_action(*p, con);
  EXPECT_EQ(con.transcript(), std::string(kReadPrompt) + kFewer + kPauseLine +
                                  "Error reading compression filter file, operation not "
                                  "completed\n" +
                                  kPauseLine);
  EXPECT_EQ(p->rrc.rrc_filt, 3);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "earlier.flt");
  expect_sentinel_filter(*p);

  p->rrc.rrc_filt = 1;
  ScriptedConsole quits("q\nk");
  read_filter_action(*p, quits);
  EXPECT_EQ(quits.transcript(), std::string(kReadPrompt) +
                                    "Error reading compression filter file, operation not "
                                    "completed\n" +
                                    kPauseLine);
  EXPECT_EQ(p->rrc.rrc_filt, 1);
}

TEST(FilterFileActions, SaveUsesTheSpacingOfTheLongDoubleSampleInterval) {
  TempDir dir;
  // At 10 samples/s the single-precision interval gives a spacing of 2.4999999627 for four
  // points; the file must carry 1/(4 * 0.1) = 2.5.
  auto p = started_program(10.0L, 4);
  set_known_filter(*p);
  ScriptedConsole con("s.flt\nc\nk");
  save_filter_action(*p, con);
  EXPECT_EQ(con.transcript(), std::string(kSavePrompt) + kCommentPrompt +
                                  "Filter was successfully saved\n" + kPauseLine);
  const std::string text = dir.read("s.flt");
  EXPECT_NE(text.find("\n  2.5000000000e+00 "), std::string::npos) << text;
  EXPECT_NE(text.find("\n  7.5000000000e+00 "), std::string::npos) << text;
  EXPECT_EQ(p->rrc.rrc_filt_save_filename, "s.flt");

  // Read back by the same program: no spacing warning, the same filter.
  set_sentinel_filter(*p);
  ScriptedConsole back("s.flt\nk");
  read_filter_action(*p, back);
  EXPECT_EQ(back.transcript(),
            std::string(kReadPrompt) + "File was successfully read\n" + kPauseLine);
  EXPECT_EQ(p->rrc.Im_rrc_filt[2], -1.5L);
}

TEST(FilterFileActions, SaveReportsAbortAndWriteFailure) {
  TempDir dir;
  auto p = four_bin_program();
  ScriptedConsole aborted("no_dir/x\nQ\nk");
  save_filter_action(*p, aborted);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_EQ(aborted.transcript(),
            std::string(kSavePrompt) +
                "Error opening file, enter another name or Q to quit:\nFile save aborted\n"
                "Error saving compression filter to a file, operation not completed\n" +
                kPauseLine);

  // A device that accepts the open but refuses every write.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ScriptedConsole full("/dev/full\nc\nk");
  save_filter_action(*p, full);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_NE(full.transcript().find(
                "Error saving compression filter to a file, operation not completed\n"),
            std::string::npos);
}

}  // namespace
}  // namespace refx
