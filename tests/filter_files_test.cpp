// Compression filter files: round trips in every format, short and long files, the spacing
// check, the name prompts, and the R and S actions of the reflection removal menu.
#include "reflection/filter_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "reflection/filter_file_actions.h"
#include "shell/float80.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

const std::string kReadPrompt = "Enter file name containing compression filter, or Q to quit:\n";
const std::string kPause = "Press any A/N key to continue\n";

// Reads a filter into p; returns the record count.
long read_into(Program& p, Console& con, long double* delf) {
  long num = -1;
  read_rrc_filt(p, con, p.rrc.rrc_filt_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf, &num);
  return num;
}

void save_from(Program& p, Console& con, long double delf, long n) {
  save_rrc_filter(p, con, p.rrc.rrc_filt_save_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt, delf,
                  n);
}

void fill_filter(Program& p, long n, long double base) {
  for (long k = 0; k < n; ++k) {
    p.rrc.Re_rrc_filt[k] = base + std::sin(k + 0.5L) * std::pow(10.0L, k % 17 - 8.0L);
    p.rrc.Im_rrc_filt[k] = -base - 1.0L / (3.0L + k);
  }
}

TEST(FilterFiles, EveryFormatGivesBackEveryValueBitForBit) {
  const struct {
    const BuildConstants* build;
    int format;
    std::size_t size;
  } cases[] = {
      {&kLinuxBuild, 2, 0}, {&kLinuxBuild, 1, 256 + 64 * 36}, {&kWindowsBuild, 1, 256 + 64 * 30}};
  for (const auto& c : cases) {
    TempDir dir;
    auto saver = started_program(1024.0L, 64, *c.build),
         reader = started_program(1024.0L, 64, *c.build);
    saver->i_rw_bin_ascii = reader->i_rw_bin_ascii = c.format;
    fill_filter(*saver, 64, 0);
    saver->rrc.Re_rrc_filt[1] = std::numeric_limits<long double>::max();
    saver->rrc.Im_rrc_filt[2] = std::numeric_limits<long double>::denorm_min() * 12345;
    ScriptedConsole con("rt.flt\ntwo words\nrt.flt\n");
    save_from(*saver, con, 16.0L, 64);
    EXPECT_EQ(c.size ? dir.read("rt.flt").size() : 0, c.size);
    long double delf = 0;
    EXPECT_EQ(read_into(*reader, con, &delf), 64);
    EXPECT_EQ(reader->rrc.rrc_error, 0);
    EXPECT_EQ(delf, 16.0L);
    // Equal values of the extended type (no zeros or NaNs here) have equal bits.
    EXPECT_TRUE(reader->rrc.Re_rrc_filt == saver->rrc.Re_rrc_filt) << c.format;
    EXPECT_TRUE(reader->rrc.Im_rrc_filt == saver->rrc.Im_rrc_filt) << c.format;
  }
}

// Only a complete read replaces the filter and its name.
TEST(FilterFiles, ShortEmptyAndQuitReadsLeaveTheFilterAndItsName) {
  const std::string fewer =
      "Warning: number of points in rrc_filter file less than num_meas_points;\n" + kPause;
  const struct {
    std::string contents;
    int format;
    long num;
    std::string typed, warnings;
  } cases[] = {
      {"c\nx\n0 1 2\n256 3 4\n512 5\ny\n", 2, 2, "f\nk", fewer},
      {"c\nx\ny\n", 2, 0, "f\nab", "Warning - no data was found\n" + kPause + fewer},
      {std::string(276, '\1'), 1, 0, "f\nab", "Warning - no data was found\n" + kPause + fewer},
      {"", 2, -1, "q\n", ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("f", c.contents);
    auto p = started_program(1024.0L, 4);
    p->i_rw_bin_ascii = c.format;
    fill_filter(*p, 8, 100);
    const Samples re = p->rrc.Re_rrc_filt, im = p->rrc.Im_rrc_filt;
    p->rrc.rrc_filt_filename = "previous.flt";
    ScriptedConsole con(c.typed);
    long double delf = 7;
    EXPECT_EQ(read_into(*p, con, &delf), c.num) << c.typed;
    EXPECT_EQ(p->rrc.rrc_error, 1);
    EXPECT_EQ(delf, c.num >= 2 ? 256.0L : 7.0L);
    EXPECT_EQ(con.transcript(), kReadPrompt + c.warnings);
    EXPECT_TRUE(p->rrc.Re_rrc_filt == re && p->rrc.Im_rrc_filt == im);
    EXPECT_EQ(p->rrc.rrc_filt_filename, "previous.flt");
  }
}

TEST(FilterFiles, LongFilesReadTheFirstNAndASpacingOffWarns) {
  TempDir dir;
  dir.write("long.flt", "c\nx\n0 1 -1\n256 2 -2\n512 3 -3\n768 4 -4\n1024 5 -5\ny\n");
  dir.write("far.flt", "c\nx\n10 1 0\n266.02 2 0\n512 3 0\n768 4 0\ny\n");
  dir.write("near.flt", "c\nx\n0 1 0\n256.005 2 0\n512 3 0\n768 4 0\ny\n");
  auto p = started_program(1024.0L, 4);
  p->rrc.Re_rrc_filt[4] = 9;
  ScriptedConsole con("long.flt\nnear.flt\nfar.flt\nk");
  long double delf = 0;
  EXPECT_EQ(read_into(*p, con, &delf), 4);
  EXPECT_EQ(p->rrc.Re_rrc_filt[3], 4.0L);
  EXPECT_EQ(p->rrc.Re_rrc_filt[4], 9.0L);
  EXPECT_EQ(read_into(*p, con, &delf), 4);
  EXPECT_EQ(read_into(*p, con, &delf), 4);
  EXPECT_EQ(con.transcript(),
            kReadPrompt + kReadPrompt + kReadPrompt +
                "Warning - delf in rrc_filter file doesn't match program value;\n" + kPause);
  EXPECT_EQ(p->rrc.rrc_error, 0);
  EXPECT_EQ(p->rrc.rrc_filt_filename, "far.flt");
}

TEST(FilterFiles, QIsANameAtTheSavePromptAndGivesUpOnlyAtTheRetry) {
  TempDir dir;
  auto p = started_program(10.0L, 4);
  fill_filter(*p, 4, 0);
  ScriptedConsole con("Q\nc\nno_dir/a\nq\nk");
  save_from(*p, con, 256.0L, 4);
  EXPECT_TRUE(dir.exists("Q"));
  EXPECT_EQ(p->rrc.rrc_error, 0);
  save_filter_action(*p, con);
  EXPECT_EQ(p->rrc.rrc_error, 1);
  EXPECT_NE(con.transcript().find("File save aborted\nError saving compression filter to a file, "
                                  "operation not completed\n"),
            std::string::npos);
  // The action's spacing is 1/(N delt) in long double, 2.5 here, not the float 2.4999999627.
  ScriptedConsole ok("s.flt\nc\nk");
  save_filter_action(*p, ok);
  EXPECT_NE(dir.read("s.flt").find("\n  7.5000000000e+00 "), std::string::npos);
}

}  // namespace
}  // namespace refx
