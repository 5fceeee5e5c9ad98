// The reflection removal menu: which rows show when, and which keys act when.
#include <gtest/gtest.h>

#include <sstream>

#include "reflection/rrc_menu.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"

namespace refx {
namespace {

// Runs the menu on the typed keys (ending with q) and returns its screens.
std::vector<std::string> screens(Program& p, const std::string& typed = "q") {
  ScriptedConsole con(typed);
  rrc_menu(p, con);
  return con.screens();
}

// The command keys of the rows shown, in order.
std::string rows(const std::string& screen) {
  std::string keys;
  std::istringstream in(screen);
  for (std::string line; std::getline(in, line);)
    if (line.size() > 5 && line.compare(1, 4, " to ") == 0) keys += line[0];
  return keys;
}

// Without a filter only the always rows show, the filter keys do nothing, and N still sets fmax.
TEST(RrcMenu, WithoutAFilter) {
  auto p = started_program();
  p->rrc.n1_rrc = 1, p->rrc.n2_rrc = 10, p->rrc.rrc_error = 1;
  const std::vector<std::string> shown = screens(*p, "CDSFXITZn30000\nq");
  ASSERT_EQ(shown.size(), 10u);
  for (std::size_t i = 1; i < 10; ++i)  // no filter key prints anything; N prompts on screen 8
    EXPECT_TRUE(shown[i] == shown[0] || (i == 8 && shown[i].find(shown[0]) == 0)) << i;
  EXPECT_EQ(rows(shown[0]), "GEHRLQ");
  EXPECT_NE(shown[0].find("(disabled)\nH to toggle compression filter minimum phase option "
                          "(disabled)\nR to read compression filter from a file\nL"),
            std::string::npos);
  EXPECT_TRUE(p->rrc.rrc_int_type == 0 && p->rrc.rrc_epzc_enable == 1 && p->rrc.rrc_error == 0 &&
              p->rrc.enable_fmax_rrc_decompress == 0 && p->rrc.fmax_rrc_compress == 30000.0L);
}

TEST(RrcMenu, EveryRowWithItsSettingWhenAllConditionsHold) {
  auto p = started_program();
  Reflection& r = p->rrc;
  r.rrc_filt = 3, r.rrc_filt_filename = "filter.txt", r.minp_option = 1;
  r.enable_fmax_rrc_compress = 1, r.fmax_rrc_compress = 25000;
  r.use_lpf_rrc = 1, r.n_lpf = 4, r.f0_lpf = 1000, r.rrc_lpf_type = 1;
  r.rrc_lim_lpf_inv = 1, r.fmax_rrc_lim_lpf_inv = 2000;
  r.enable_fmax_rrc_decompress = 1, r.fmax_rrc_decompress = 3000;
  r.n1_rrc = 100, r.n2_rrc = 400, r.rrc_int_type = 1, r.rrc_epzc_enable = 0;
  p->wf.i_shift_wf1 = 3, p->wf.i_truncatet1 = 100, p->wf.scale_wf2 = 2.0L;
  EXPECT_EQ(screens(*p).front(),
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
  p->rrc.rrc_filt = 2, p->rrc.enable_fmax_rrc_compress = 1, p->rrc.i_constant_phase_slope = 0;
  const std::string screen = screens(*p).front();
  EXPECT_EQ(rows(screen), "GENMHRSLFCITZQ");  // no O and U without the slope, no D without I
  for (const char* line : {"G to generate compression filter (internally generated)\n",
                           "(maintain phase of compression filter)\n",
                           "R to read compression filter from a file\nS",
                           "L to toggle optional low-pass filter (disabled)\n",
                           "I to setup waveform interval for decompression\n"})
    EXPECT_NE(screen.find(line), std::string::npos) << line;
}

// Y cycles the low-pass types, each named on its line.
TEST(RrcMenu, YCyclesTheLowpassTypes) {
  auto p = started_program();
  p->rrc.use_lpf_rrc = 1, p->rrc.n_lpf = 2, p->rrc.f0_lpf = 1000;
  const std::vector<std::string> shown = screens(*p, "yyyq");
  const char* names[] = {"(minimum phase digital)", "(digital)", "(Butterworth)",
                         "(minimum phase digital)"};
  for (int i = 0; i < 4; ++i)
    EXPECT_NE(shown[i].find(std::string("Y to toggle type of optional low-pass filter ") +
                            names[i] + "\nA to apply"),
              std::string::npos)
        << i;
}

// Lower case keys act; reading a filter replaces the generated mark with the file name.
TEST(RrcMenu, KeysActAndAReadFilterShowsItsName) {
  TempDir dir;
  dir.write("filt.txt", "c\nx\n0 1 0\n2.5 2 0\n5 3 0\n7.5 4 0\ny\n");
  auto p = started_program(10.0L, 4);
  p->rrc.rrc_filt = 1;
  const std::string after = screens(*p, "tzhrfilt.txt\nkq").back();
  EXPECT_TRUE(p->rrc.rrc_int_type == 1 && p->rrc.rrc_epzc_enable == 0 && p->rrc.minp_option == 1);
  for (const char* line : {"(exclusive)\n", "G to generate compression filter\nE to",
                           "R to read compression filter from a file (read from filt.txt)\n"})
    EXPECT_NE(after.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace refx
