// Compression filter files: exact bytes and text against hand-made expectations, reading
// hand-made files, short and long files, the spacing check, round trips, and the R and S
// actions of the reflection removal menu.
#include "reflection/filter_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "reflection/filter_file_actions.h"
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
const long double kKnownRe[4] = {1.0L, -2.0L, 0.5L, 0.25L};
const long double kKnownIm[4] = {0.0L, 0.75L, -1.5L, 0.125L};

void set_known_filter(Program& p) {
  for (int k = 0; k < 4; ++k) {
    p.rrc.Re_rrc_filt[k] = kKnownRe[k];
    p.rrc.Im_rrc_filt[k] = kKnownIm[k];
  }
}

void expect_known_filter(const Program& p) {
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(p.rrc.Re_rrc_filt[k], kKnownRe[k]) << k;
    EXPECT_EQ(p.rrc.Im_rrc_filt[k], kKnownIm[k]) << k;
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

// The known filter at spacing 256 as extended values: frequency, real, imaginary part.
std::string known_record(int k) {
  const std::string values[4][3] = {
      {ext(0, 0), ext(0x80, 0x3FFF), ext(0, 0)},                  // 0, 1, 0
      {ext(0x80, 0x4007), ext(0x80, 0xC000), ext(0xC0, 0x3FFE)},  // 256, -2, 0.75
      {ext(0x80, 0x4008), ext(0x80, 0x3FFE), ext(0xC0, 0xBFFF)},  // 512, 0.5, -1.5
      {ext(0xC0, 0x4008), ext(0x80, 0x3FFD), ext(0x80, 0x3FFC)},  // 768, 0.25, 0.125
  };
  return values[k][0] + kPad + values[k][1] + kPad + values[k][2] + kPad;
}

void read_into(Program& p, Console& con, long double* delf, long* num) {
  read_rrc_filt(p, con, p.rrc.rrc_filt_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf, num);
}

void save_from(Program& p, Console& con, long double delf, long n) {
  save_rrc_filter(p, con, p.rrc.rrc_filt_save_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf,
                  n);
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
      "  0.0000000000e+00 " +
      wide("1", "", "e+00") + " " + wide("0", "", "e+00") + "\n" + "  2.5600000000e+02 " +
      wide("-2", "", "e+00") + " " + wide("7", "5", "e-01") + "\n" + "  5.1200000000e+02 " +
      wide("5", "", "e-01") + " " + wide("-1", "5", "e+00") + "\n" + "  7.6800000000e+02 " +
      wide("2", "5", "e-01") + " " + wide("1", "25", "e-01") + "\n" + "y\n";
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
  for (int k = 0; k < 4; ++k) expected += known_record(k);
  const std::string written = dir.read("out.bin");
  EXPECT_EQ(written.size(), 256u + 4 * 36);
  EXPECT_EQ(written, expected);
}

TEST(FilterFileSave, OnlyTheRetryPromptTakesQAsGivingUp) {
  TempDir dir;
  auto p = four_bin_program();
  set_known_filter(*p);
  ScriptedConsole first_q("Q\nc\n");
  save_from(*p, first_q, 256.0L, 4);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_TRUE(dir.exists("Q"));
  EXPECT_EQ(first_q.transcript(), std::string(kSavePrompt) + kCommentPrompt);

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
  expect_known_filter(*p);
  EXPECT_EQ(p->rrc.Re_rrc_filt[4], 104.0L);  // beyond N nothing is touched
}

TEST(FilterFileRead, HandMadeBinaryIgnoresPaddingBytes) {
  TempDir dir;
  auto p = four_bin_program();
  p->i_rw_bin_ascii = 1;
  std::string bytes = "c" + std::string(255, '\x7f');  // bytes after the comment are ignored
  for (int k = 0; k < 4; ++k) {
    std::string record = known_record(k);
    for (int v = 0; v < 3; ++v) record.replace(12 * v + 10, 2, "\xAB\xCD");  // padding
    bytes += record;
  }
  dir.write("hand.bin", bytes);
  ScriptedConsole con("hand.bin\n");
  long double delf = 0;
  long num = 0;
  read_into(*p, con, &delf, &num);

  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(num, 4);
  EXPECT_EQ(delf, 256.0L);
  expect_known_filter(*p);
  EXPECT_EQ(con.waits(), 0);
}

// Files too short to hold the filter: their warnings, and nothing of the filter, its name
// or (below two records) the spacing changes.
TEST(FilterFileRead, ShortAndEmptyFilesWarnAndLeaveTheFilterAlone) {
  TempDir dir;
  const std::string fewer = std::string(kFewer) + kPauseLine;
  const std::string none = std::string(kNoData) + kPauseLine + fewer;
  std::string cut = std::string(256, '\0');  // two records, then one ending inside a value
  for (int k = 0; k < 2; ++k)
    cut += ext(k ? 0x80 : 0, k ? 0x4007 : 0) + kPad + std::string(24, '\0');
  cut += ext(0x80, 0x3FFF) + kPad + ext(0x80, 0x3FFF);
  struct Case {
    const char* name;
    std::string contents;
    int format;
    long num;
    std::string warnings;
  } cases[] = {
      {"two.flt", "c\nx\n0 1 2\n256 3 4\n512 5\ny\n", 2, 2, fewer},  // third record cut short
      {"one.flt", "c\nx\n0 1 2\ny\n", 2, 1, fewer},                  // no spacing to check
      {"header.flt", "c\nx\ny\n", 2, 0, none},
      {"nothing.flt", "", 2, 0, none},
      {"cut.bin", cut, 1, 2, fewer},
      {"nothing.bin", "", 1, 0, none},
      {"header.bin", std::string(256, '\0') + std::string(20, '\1'), 1, 0, none},
  };
  for (const Case& c : cases) {
    dir.write(c.name, c.contents);
    auto p = four_bin_program();
    p->i_rw_bin_ascii = c.format;
    set_sentinel_filter(*p);
    p->rrc.rrc_filt_filename = "previous.flt";
    ScriptedConsole con(std::string(c.name) + "\nab");
    long double delf = 7;
    long num = -1;
    read_into(*p, con, &delf, &num);
    EXPECT_EQ(p->rrc.rrc_error, 1) << c.name;
    EXPECT_EQ(num, c.num) << c.name;
    EXPECT_EQ(delf, c.num >= 2 ? 256.0L : 7.0L) << c.name;
    EXPECT_EQ(con.transcript(), kReadPrompt + c.warnings) << c.name;
    expect_sentinel_filter(*p);
    EXPECT_EQ(p->rrc.rrc_filt_filename, "previous.flt") << c.name;
  }
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
  // The spacing is the difference of the first two frequencies: 256.02 here, 256.005 below.
  dir.write("far.flt", "c\nx\n10 1 0\n266.02 2 0\n512 3 0\n768 4 0\ny\n");
  dir.write("near.flt", "c\nx\n0 1 0\n256.005 2 0\n512 3 0\n768 4 0\ny\n");

  auto p = four_bin_program();
  ScriptedConsole far("far.flt\nk");
  long double delf = 0;
  long num = 0;
  read_into(*p, far, &delf, &num);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(far.transcript(), std::string(kReadPrompt) + kSpacing + kPauseLine);
  EXPECT_NEAR(static_cast<double>(delf), 256.02, 1e-12);
  EXPECT_EQ(p->rrc.Re_rrc_filt[3], 4.0L);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "far.flt");

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
  p.rrc.Re_rrc_filt[3] = std::numeric_limits<long double>::infinity();
  p.rrc.Im_rrc_filt[3] = -0.0L;
}

// Text: 34 significant digits hold every 64-bit significand, so the values come back
// exactly. Binary: bit for bit, in both value widths.
TEST(FilterFileRoundTrip, EveryFormatGivesBackEveryValue) {
  struct Case {
    const BuildConstants* build;
    int format;
    std::size_t size;
    std::string comment_field;  // the binary header as the build keeps the typed comment
  } cases[] = {{&kLinuxBuild, 2, 0, ""},
               {&kLinuxBuild, 1, 256 + 64 * 36, std::string("two words") + '\0'},
               {&kWindowsBuild, 1, 256 + 64 * 30, std::string("two") + '\0'}};
  for (const Case& c : cases) {
    TempDir dir;
    const long n = 64;
    auto saver = started_program(1024.0L, n, *c.build);
    saver->i_rw_bin_ascii = c.format;
    fill_awkward_filter(*saver, n);
    ScriptedConsole save_con("rt.flt\ntwo words\n");
    save_from(*saver, save_con, 16.0L, n);
    ASSERT_EQ(saver->rrc.rrc_error, 0);
    if (c.size) {
      const std::string written = dir.read("rt.flt");
      EXPECT_EQ(written.size(), c.size);
      EXPECT_EQ(written.substr(0, c.comment_field.size()), c.comment_field);
    }

    auto reader = started_program(1024.0L, n, *c.build);
    reader->i_rw_bin_ascii = c.format;
    ScriptedConsole read_con("rt.flt\n");
    long double delf = 0;
    long num = 0;
    read_into(*reader, read_con, &delf, &num);
    EXPECT_EQ(reader->rrc.rrc_error, 0);
    EXPECT_EQ(num, n);
    EXPECT_EQ(delf, 16.0L);
    for (long k = 0; k < n; ++k) {
      for (int part = 0; part < 2; ++part) {
        unsigned char a[10], b[10];
        encode_float80((part ? saver->rrc.Im_rrc_filt : saver->rrc.Re_rrc_filt)[k], a);
        encode_float80((part ? reader->rrc.Im_rrc_filt : reader->rrc.Re_rrc_filt)[k], b);
        EXPECT_EQ(std::memcmp(a, b, 10), 0) << "format " << c.format << " bin " << k;
      }
    }
  }
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

TEST(FilterFileActions, SaveWithTheLongDoubleSpacingThenReadBack) {
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
  EXPECT_EQ(p->rrc.rrc_filt, 3);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "s.flt");
  expect_known_filter(*p);
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
