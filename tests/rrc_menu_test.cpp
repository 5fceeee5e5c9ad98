// The reflection removal menu: which rows show when, and which keys act when.
#include <gtest/gtest.h>

#include "reflection/rrc_menu.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

// Runs the menu on the typed keys (ending with q) and returns the first screen.
std::string first_screen(Program& p, const std::string& typed = "q") {
  ScriptedConsole con(typed);
  rrc_menu(p, con);
  return con.screens().front();
}

const char kNoFilterMenu[] =
    "G to generate compression filter\n"
    "E to toggle fmax for compression filter generation (disabled)\n"
    "H to toggle compression filter minimum phase option (disabled)\n"
    "R to read compression filter from a file\n"
    "L to toggle optional low-pass filter for compression/decompression (disabled)\n"
    "Q to return to time waveforms menu\n"
    "\n"
    "Enter Command :\n";

TEST(RrcMenu, WithoutAFilterOnlyTheAlwaysRowsShow) {
  auto p = started_program();
  EXPECT_EQ(first_screen(*p), kNoFilterMenu);
}

TEST(RrcMenu, FilterKeysDoNothingWithoutAFilter) {
  auto p = started_program();
  p->rrc.n1_rrc = 1;
  p->rrc.n2_rrc = 10;
  ScriptedConsole con("CDSFXITZq");
  rrc_menu(*p, con);
  ASSERT_EQ(con.screens().size(), 9u);
  for (const std::string& screen : con.screens()) EXPECT_EQ(screen, kNoFilterMenu);
  EXPECT_EQ(p->rrc.rrc_int_type, 0);
  EXPECT_EQ(p->rrc.rrc_epzc_enable, 1);
  EXPECT_EQ(p->rrc.enable_fmax_rrc_decompress, 0);
}

TEST(RrcMenu, EveryRowWithItsSettingWhenAllConditionsHold) {
  auto p = started_program();
  Reflection& r = p->rrc;
  r.rrc_filt = 3;
  r.rrc_filt_filename = "filter.txt";
  r.enable_fmax_rrc_compress = 1;
  r.fmax_rrc_compress = 25000;
  r.minp_option = 1;
  r.use_lpf_rrc = 1;
  r.n_lpf = 4;
  r.f0_lpf = 1000;
  r.rrc_lpf_type = 1;
  r.rrc_lim_lpf_inv = 1;
  r.fmax_rrc_lim_lpf_inv = 2000;
  r.enable_fmax_rrc_decompress = 1;
  r.fmax_rrc_decompress = 3000;
  r.n1_rrc = 100;
  r.n2_rrc = 400;
  r.rrc_int_type = 1;
  r.rrc_epzc_enable = 0;
  p->wf.i_shift_wf1 = 3;
  p->wf.i_truncatet1 = 100;
  p->wf.scale_wf2 = 2.0L;
  EXPECT_EQ(first_screen(*p),
            "G to generate compression filter\n"
            "E to toggle fmax for compression filter generation (enabled)\n"
            "N to set fmax for compression filter generation (fmax = 2.500000e+04)\n"
            "M to toggle fmax phase entension method (constant phase slope)\n"
            "O to set number of points for phase average (100)\n"
            "U to set phase slope compensation factor (1.000000e+00)\n"
            "H to toggle compression filter minimum phase option (enabled)\n"
            "R to read compression filter from a file (read from filter.txt)\n"
            "S to save compression filter to a file\n"
            "L to toggle optional low-pass filter for compression/decompression (enabled)\n"
            "P to set parameters of optional low-pass filter (order=4, f0=1.000000e+03)\n"
            "Y to toggle type of optional low-pass filter (Butterworth)\n"
            "A to apply present lpf to a waveform\n"
            "B to apply present inverse lpf to a waveform\n"
            "J to toggle limiting of inverse lpf application (enabled)\n"
            "K to set fmax for limiting inverse lpf application (2.000000e+03)\n"
            "F to toggle fmax for de-compression (enabled)\n"
            "X to set fmax for de-compression (fmax = 3.000000e+03)\n"
            "C to compress a waveform\n"
            "I to setup waveform interval for decompression (100,400)\n"
            "T to toggle decompression interval type (exclusive)\n"
            "D to de-compress a waveform\n"
            "Z to toggle endpoint zero correction for de-compression (disabled)\n"
            "Q to return to time waveforms menu\n"
            "***Waveform 1 is shifted and truncated***\n"
            "***Waveform 2 is scaled***\n"
            "\n"
            "Enter Command :\n");
}

TEST(RrcMenu, GeneratedFilterMaintainPhaseAndWindowsLowPassLine) {
  auto p = started_program(1048576.0L, 4096, kWindowsBuild);
  p->rrc.rrc_filt = 2;
  p->rrc.enable_fmax_rrc_compress = 1;
  p->rrc.i_constant_phase_slope = 0;
  const std::string screen = first_screen(*p);
  EXPECT_NE(screen.find("G to generate compression filter (internally generated)\n"),
            std::string::npos);
  EXPECT_NE(screen.find("M to toggle fmax phase entension method "
                        "(maintain phase of compression filter)\n"),
            std::string::npos);
  EXPECT_EQ(screen.find("O to set"), std::string::npos);
  EXPECT_EQ(screen.find("U to set"), std::string::npos);
  EXPECT_NE(screen.find("R to read compression filter from a file\nS to save"),
            std::string::npos);
  EXPECT_NE(screen.find("L to toggle optional low-pass filter (disabled)\n"), std::string::npos);
  EXPECT_NE(screen.find("I to setup waveform interval for decompression\n"), std::string::npos);
  EXPECT_EQ(screen.find("D to de-compress"), std::string::npos);
}

TEST(RrcMenu, LowerCaseKeysActAndToggleTheirSettings) {
  auto p = started_program();
  p->rrc.rrc_filt = 1;
  ScriptedConsole con("tzhq");
  rrc_menu(*p, con);
  EXPECT_EQ(p->rrc.rrc_int_type, 1);
  EXPECT_EQ(p->rrc.rrc_epzc_enable, 0);
  EXPECT_EQ(p->rrc.minp_option, 1);
  EXPECT_NE(con.screens().back().find("(exclusive)"), std::string::npos);
}

TEST(RrcMenu, NSetsFmaxEvenWhileItsLineIsHidden) {
  auto p = started_program();
  ScriptedConsole con("n30000\nq");
  rrc_menu(*p, con);
  EXPECT_EQ(p->rrc.fmax_rrc_compress, 30000.0L);
  EXPECT_EQ(con.screens().back(), kNoFilterMenu);
}

TEST(RrcMenu, ReadingAFilterReplacesTheGeneratedMarkWithTheFileName) {
  TempDir dir;
  dir.write("filt.txt", "c\nx\n0 1 0\n2.5 2 0\n5 3 0\n7.5 4 0\ny\n");
  auto p = started_program(10.0L, 4);
  p->rrc.rrc_filt = 1;
  ScriptedConsole con("rfilt.txt\nkq");
  rrc_menu(*p, con);
  EXPECT_NE(con.screens().front().find("filter (internally generated)\n"), std::string::npos);
  const std::string after = con.screens().back();
  EXPECT_NE(after.find("G to generate compression filter\nE to"), std::string::npos) << after;
  EXPECT_NE(after.find("R to read compression filter from a file (read from filt.txt)\n"),
            std::string::npos) << after;
}

TEST(RrcMenu, EntryClearsTheErrorFlag) {
  auto p = started_program();
  p->rrc.rrc_error = 1;
  first_screen(*p);
  EXPECT_EQ(p->rrc.rrc_error, 0);
}

}  // namespace
}  // namespace refx
