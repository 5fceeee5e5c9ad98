// Start-up: the configuration file, its failure rows, and the derived values.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/fatal.h"
#include "shell/float80.h"
#include "shell/program.h"
#include "shell/startup.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

namespace refx {
namespace {

// Runs start-up on a configuration text; returns the exit status, or -1 when it started.
int start_with(const std::string& config, Program& p, ScriptedConsole& con,
               const BuildConstants& build = kLinuxBuild) {
  TempDir dir;
  if (!config.empty()) dir.write(build.config_file_name, config);
  p.build = &build;
  try {
    start_up(p, con);
  } catch (const ProgramExit& stop) {
    return stop.status;
  }
  return -1;
}

const char kEnd[] = "Program will be terminated\nPress any A/N key to continue:\n";

TEST(StartUp, ReadsTheFourLinesAfterAnyNumberOfComments) {
  auto p = make_program();
  ScriptedConsole con;
  EXPECT_EQ(start_with("# rate\n#\n1048576\n# points\n4096\n0x100\n0100\nignored\n", *p, con), -1);
  EXPECT_EQ(p->sampling_rate, 1048576.0L);
  EXPECT_EQ(p->num_meas_points, 4096);
  EXPECT_EQ(p->maxx, 256);  // hexadecimal
  EXPECT_EQ(p->maxy, 64);   // octal
  EXPECT_EQ(con.transcript(), "");
  EXPECT_EQ(con.clears(), 1);
}

TEST(StartUp, MissingFileEndsWithStatusOneAfterAKey) {
  auto p = make_program();
  ScriptedConsole con("x");
  EXPECT_EQ(start_with("", *p, con), 1);
  EXPECT_EQ(con.transcript(), std::string("Error - input file not found\n") + kEnd);
  EXPECT_EQ(con.waits(), 1);
}

TEST(StartUp, FormatErrorsEndWithStatusZero) {
  const char* bad[] = {
      " # blank before the hash is a data line\n4096\n1000\n800\n",
      "1000\n4096\n",             // ends after line 2: format error at line 3
      "1000\nfour\n1000\n800\n",  // no number on line 2
      "",                         // replaced below by a file of comments only
  };
  for (int i = 0; i < 3; ++i) {
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with(bad[i], *p, con), 0) << i;
    EXPECT_EQ(con.transcript(), std::string("Error in input file format\n") + kEnd) << i;
  }
  auto p = make_program();
  ScriptedConsole con("x");
  EXPECT_EQ(start_with("# only\n# comments\n", *p, con), 0);
  EXPECT_EQ(con.transcript(), std::string("Error in input file format\n") + kEnd);
}

TEST(StartUp, PointCountMustBeAPowerOfTwoFromTwoTo65536) {
  for (const char* count : {"1", "0", "-4", "3000", "9223372036854775807"}) {
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with(std::string("1000\n") + count + "\n1000\n800\n", *p, con), 0) << count;
    EXPECT_EQ(con.transcript(),
              std::string("Error - num_meas_points is not a power of 2\n") + kEnd);
  }
  for (const char* count : {"131072", "4611686018427387904"}) {
    auto p = make_program();
    ScriptedConsole con("x");
    EXPECT_EQ(start_with(std::string("1000\n") + count + "\n1000\n800\n", *p, con), 0);
    EXPECT_EQ(con.transcript(),
              std::string("Error - num_meas_points is too large (maximum 65536)\n") + kEnd);
  }
  for (const char* count : {"2", "65536"}) {
    auto p = make_program();
    ScriptedConsole con;
    EXPECT_EQ(start_with(std::string("1000\n") + count + "\n1000\n800\n", *p, con), -1);
  }
}

TEST(StartUp, LongLinesAreReadIn498CharacterPieces) {
  // The rest of a long comment line counts as the next line: here it is the rate line,
  // which does not convert.
  auto p = make_program();
  ScriptedConsole con("x");
  std::string config = "#" + std::string(497, 'c') + "more\n1000\n4096\n1000\n800\n";
  EXPECT_EQ(start_with(config, *p, con), 0);
  // A piece of exactly 498 characters ends before the newline; the newline alone is an
  // empty data line, which does not convert either.
  auto q = make_program();
  ScriptedConsole con2("x");
  config = "#" + std::string(497, 'c') + "\n1000\n4096\n1000\n800\n";
  EXPECT_EQ(start_with(config, *q, con2), 0);
  auto r = make_program();
  ScriptedConsole con3;
  config = "#" + std::string(496, 'c') + "\n1000\n4096\n1000\n800\n";
  EXPECT_EQ(start_with(config, *r, con3), -1);
}

TEST(StartUp, DerivesTheSamplingQuantitiesAndPlotSets) {
  auto p = make_program();
  ScriptedConsole con;
  ASSERT_EQ(start_with("10\n1024\n1000\n800\n", *p, con), -1);
  EXPECT_EQ(p->delt, 1.0L / 10.0L);
  EXPECT_EQ(p->deltat, 0.1f);
  EXPECT_EQ(p->wf.deltat1, p->delt);
  EXPECT_EQ(p->wf.nptst, 1024);
  EXPECT_EQ(p->wf.i_truncatet1, 1024);
  EXPECT_EQ(p->wf.i_truncatet2, 1024);
  EXPECT_EQ(p->fft.npts_cutoff_avg, 512);
  EXPECT_EQ(p->fft.freq_cutoff_avg, 1.0L / (2.0L * p->delt));
  EXPECT_EQ(p->fft.deltaf, 1.0L / (static_cast<long double>(0.1f) * 1024));
  EXPECT_EQ(p->delf_minp, 1.0L / (1024 * p->delt));
  EXPECT_EQ(p->plot.t.xmax, 1023.0f * 0.1f);
  EXPECT_EQ(p->plot.t.ymax, 1.0f);
  EXPECT_EQ(p->plot.t.ymin, -1.0f);
  EXPECT_EQ(p->plot.t.i_max, 1024);
  EXPECT_EQ(p->plot.a.i_max, 513);
  EXPECT_EQ(p->plot.a.i_truncate, 513);
  EXPECT_EQ(p->plot.a.ymin, -30.0f);
  EXPECT_EQ(p->plot.a.xmax, static_cast<float>(511 * p->fft.deltaf));
  EXPECT_EQ(p->plot.p.ymax, 200.0f);
  EXPECT_EQ(p->plot.p.i_truncate, 513);
  EXPECT_EQ(p->plot.tic_offset, 2);
  EXPECT_EQ(p->ln_10, 2.3025851f);
  // Defaults that later menus start from.
  EXPECT_EQ(p->i_rw_bin_ascii, 2);
  EXPECT_EQ(p->rrc.n_del_om_fmax_compress, 100);
  EXPECT_EQ(p->rrc.phase_comp_fmax_compress, 1.0L);
  EXPECT_EQ(p->rrc.i_constant_phase_slope, 1);
  EXPECT_EQ(p->rrc.rrc_lpf_type, 2);
  EXPECT_EQ(p->rrc.rrc_epzc_enable, 1);
}

TEST(StartUp, PiHasItsExactExtendedBitsInBothBuilds) {
  const unsigned char expected[] = {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40};
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    auto p = make_program();
    p->build = build;
    set_constants(*p);
    unsigned char bytes[10];
    encode_float80(p->pi, bytes);
    EXPECT_EQ(std::memcmp(bytes, expected, 10), 0) << build->config_file_name;
  }
}

TEST(StartUp, WindowsReadsColourAndEdgeLines) {
  auto p = make_program();
  ScriptedConsole con;
  ASSERT_EQ(start_with("1000\n1024\n255 255 0\n0 0 64\n8 1\n8 7\n8 7\n8 1\n", *p, con,
                       kWindowsBuild),
            -1);
  EXPECT_EQ(p->foreground_rgb[2], 0);
  EXPECT_EQ(p->background_rgb[2], 64);
  EXPECT_EQ(p->plot_area_multiplier[1], 7);
  EXPECT_EQ(p->plot_area_divisor[3], 8);
  EXPECT_EQ(p->ln_10, 2.3025851f);

  auto q = make_program();
  ScriptedConsole con2("x");
  EXPECT_EQ(start_with("1000\n1024\n255 255\n", *q, con2, kWindowsBuild), 0);
  EXPECT_EQ(con2.transcript(),
            "Error in input file format\nProgram will be terminated.\n"
            "Press any A/N key to continue:\n");
}

}  // namespace
}  // namespace refx
