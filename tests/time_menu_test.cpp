// The time waveforms menu through the scripted console, and the slots' status lines.
#include "waveforms/time_menu.h"

#include <gtest/gtest.h>

#include <cmath>

#include "shell/fatal.h"
#include "shell/main_menu.h"
#include "shell/program.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"
#include "waveforms/status_lines.h"

namespace refx {
namespace {

const char* kPause = "Press any A/N key to continue\n";

struct MenuState {
  bool truncated = false;
  std::string window;  // the W line's tail, "\n" when none
  bool y_line = false;
  std::string shifts = "0,0";
  std::string scales = "1.000000e+00,1.000000e+00";
};

std::string menu(const MenuState& m) {
  const std::string trunc = m.truncated ? " ***truncated***" : "";
  return "R to read time waveform(s) from disk\n"
         "S to save time waveform(s) to disk\n"
         "P to plot time waveforms\n"
         "A to change vertical axis range for plots vs. time\n"
         "T to subtract" +
         trunc +
         " time waveforms (y1 - y2 -> y1)\n"
         "U to add" +
         trunc +
         " time waveforms (y1 + y2 -> y1)\n"
         "W to set up window function" +
         (m.window.empty() ? "\n" : m.window) + (m.y_line ? "Y to apply window function\n" : "") +
         "L to remove reflections using a compression filter\n"
         "I to shift time waveforms (" +
         m.shifts +
         ")\n"
         "C to scale time waveforms (" +
         m.scales +
         ")\n"
         "Q to return to main menu\n"
         "Enter Command :\n";
}

// Distinct sample values so every move can be traced.
void fill_ramp(Samples& y, long n, long double base) {
  for (long i = 0; i < n; ++i) y[static_cast<std::size_t>(i)] = base + i;
}

TEST(TimeMenu, InitialScreenAndKeysThatOnlyRedraw) {
  auto p = started_program(1000.0L, 8);
  ScriptedConsole con("x?yq");
  time_waveforms_menu(*p, con);
  ASSERT_EQ(con.screens().size(), 4u);
  for (const auto& screen : con.screens()) EXPECT_EQ(screen, menu({}));
  EXPECT_EQ(con.waits(), 0);
}

TEST(TimeMenu, LOpensTheReflectionRemovalMenuAndQComesBack) {
  auto p = started_program(1000.0L, 8);
  ScriptedConsole con("lqq");
  time_waveforms_menu(*p, con);
  ASSERT_EQ(con.screens().size(), 3u);
  EXPECT_EQ(con.screens()[1].rfind("G to generate compression filter\n", 0), 0u);
  EXPECT_EQ(con.screens()[2], menu({}));
}

TEST(TimeMenu, ScaleIsCumulativeAndUnconvertedFactorReappliesTheOldOne) {
  auto p = started_program(1000.0L, 8);
  fill_ramp(p->wf.y2a, 8, 1.0L);
  fill_ramp(p->wf.y1a, 8, 1.0L);
  ScriptedConsole con("c0\n3\n2\n2\nq");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(con.screens()[0], menu({}) +
                                  "Enter waveform number to be scaled, 1 or 2:\n"
                                  "Error - enter waveform number again\n"
                                  "Error - enter waveform number again\n"
                                  "Enter scale factor for waveform 2:\n");
  MenuState m;
  m.scales = "1.000000e+00,2.000000e+00";
  EXPECT_EQ(con.screens()[1], menu(m));
  for (long i = 0; i < 8; ++i) EXPECT_EQ(p->wf.y2a[i], 2.0L * (1 + i));
  EXPECT_EQ(p->wf.y1a[7], 8.0L);
  EXPECT_EQ(p->wf.scale_wf2_old, 1.0L);

  // The number is remembered; 0.5 brings the product back to exactly 1. Then text that
  // does not convert applies the cumulative factor 3 again: 3 x 3.
  ScriptedConsole more("C2\n0.5\nC2\n3\nC2\nabc\nQ");
  time_waveforms_menu(*p, more);
  EXPECT_EQ(more.screens()[1].substr(0, menu({}).size()), menu({}));
  EXPECT_EQ(p->wf.scale_wf2, 9.0L);
  EXPECT_EQ(p->wf.scale_wf2_old, 3.0L);
  for (long i = 0; i < 8; ++i) EXPECT_EQ(p->wf.y2a[i], 9.0L * (1 + i));
}

TEST(TimeMenu, ShiftIsAbsoluteAndCircular) {
  const long n = 16;
  auto p = started_program(1000.0L, n);
  fill_ramp(p->wf.y1a, n, 100.0L);
  const Samples before = p->wf.y1a;
  ScriptedConsole con("i3\n1\n16\n-16\n3\nkI1\n-2\nkq");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(con.screens()[0], menu({}) +
                                  "Enter waveform number to be shifted, 1 or 2:\n"
                                  "Error - enter waveform number again\n"
                                  "Enter shift value (integer - positive to the right):\n"
                                  "Enter again - shift is too large\n"
                                  "Enter again - shift is too large\n"
                                  "Waveform 1 has been shifted to 3\n" +
                                  kPause);
  MenuState m;
  m.shifts = "3,0";
  EXPECT_EQ(con.screens()[1], menu(m) +
                                  "Enter waveform number to be shifted, 1 or 2:\n"
                                  "Enter shift value (integer - positive to the right):\n"
                                  "Waveform 1 has been shifted to -2\n" +
                                  kPause);
  m.shifts = "-2,0";
  EXPECT_EQ(con.screens()[2], menu(m));
  // Net move -2 from the original: entry i now holds what entry i + 2 held.
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y1a[i], before[(i + 2) % n]) << i;

  // Back to 0 restores the original.
  ScriptedConsole back("I1\n0\nkq");
  time_waveforms_menu(*p, back);
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y1a[i], before[i]) << i;
  EXPECT_EQ(p->wf.i_shift_wf1, 0);
}

TEST(TimeMenu, ShiftToBothExtremesWrapsToTwo) {
  const long n = 16;
  auto p = started_program(1000.0L, n);
  fill_ramp(p->wf.y2a, n, 7.0L);
  const Samples before = p->wf.y2a;
  ScriptedConsole first("I2\n15\nkq");
  time_waveforms_menu(*p, first);
  const Samples after_first = p->wf.y2a;
  ScriptedConsole second("I2\n-15\nkq");
  time_waveforms_menu(*p, second);
  // The second command moves by -30 = 2 - 2n, which wraps to +2.
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y2a[(i + 2) % n], after_first[i]) << i;
  // Against the original the samples stand at the absolute shift -15.
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y2a[i], before[(i + 15) % n]) << i;
  EXPECT_EQ(p->wf.i_shift_wf2, -15);
  // An unconverted shift value keeps the present shift: nothing moves.
  const Samples shifted = p->wf.y2a;
  ScriptedConsole junk("I2\nzz\nkq");
  time_waveforms_menu(*p, junk);
  EXPECT_EQ(p->wf.y2a, shifted);
  EXPECT_EQ(p->wf.i_shift_wf2, -15);
}

TEST(TimeMenu, SubtractWithSlotOneTruncatedAt100) {
  const long n = 256;
  auto p = started_program(1000.0L, n);
  fill_ramp(p->wf.y1a, n, 1000.0L);
  for (long i = 0; i < n; ++i) p->wf.y2a[i] = 0.5L * i - 3;
  const Samples y1 = p->wf.y1a, y2 = p->wf.y2a;
  p->wf.i_truncatet1 = 100;
  ScriptedConsole con("tkq");
  time_waveforms_menu(*p, con);
  MenuState m;
  m.truncated = true;
  EXPECT_EQ(con.screens()[0], menu(m) + "Waveforms have been subtracted\n" + kPause);
  EXPECT_EQ(con.screens()[1], menu(m));
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y1a[i], i < 100 ? y1[i] - y2[i] : -y2[i]) << i;
  EXPECT_EQ(p->wf.y2a, y2);
  EXPECT_EQ(p->wf.i_truncatet1, 100);
}

TEST(TimeMenu, AddWithSlotTwoTruncatedKeepsSlotOneBeyond) {
  const long n = 64;
  auto p = started_program(1000.0L, n);
  fill_ramp(p->wf.y1a, n, 1.0L);
  fill_ramp(p->wf.y2a, n, 500.0L);
  const Samples y1 = p->wf.y1a, y2 = p->wf.y2a;
  p->wf.i_truncatet2 = 10;
  ScriptedConsole con("ukq");
  time_waveforms_menu(*p, con);
  MenuState m;
  m.truncated = true;
  EXPECT_EQ(con.screens()[0], menu(m) + "Waveforms have been added\n" + kPause);
  for (long i = 0; i < n; ++i) EXPECT_EQ(p->wf.y1a[i], i < 10 ? y1[i] + y2[i] : y1[i]) << i;
}

TEST(TimeMenu, VerticalRangeOfTimePlotsIsStoredInSinglePrecision) {
  auto p = started_program(10.0L, 8);
  ScriptedConsole con("a1e3\n-0.1\nAjunk\n2.5\nq");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(con.screens()[0], menu({}) +
                                  "Enter maximum vertical scale value:\n"
                                  "Enter minimum vertical scale value:\n");
  EXPECT_EQ(p->plot.t.ymax, 1000.0f);  // unconverted text kept it
  EXPECT_EQ(p->plot.t.ymin, 2.5f);
  EXPECT_EQ(p->plot.deltat_float, p->deltat);
  EXPECT_EQ(p->plot.a.ymax, 10.0f);  // the other sets are untouched
}

TEST(TimeMenu, WindowIsSetUpThroughWAndAppliedWithY) {
  const long n = 16;
  auto p = started_program(1000.0L, n);
  for (long i = 0; i < n; ++i) p->wf.y1a[i] = p->wf.y2a[i] = 2.0L;
  ScriptedConsole con("wa3\n7\nqy0\nx\n2\nkq");
  time_waveforms_menu(*p, con);
  MenuState m;
  m.window = " Bartlett(linear) (3,7)\n";
  m.y_line = true;
  const auto& s = con.screens();
  ASSERT_EQ(s.size(), 5u);  // menu, window menu x2, menu with Y, final menu
  EXPECT_EQ(s[3], menu(m) +
                      "Apply window to which time waveform (1 or 2)?\n"
                      "Error - enter integer again:\n"
                      "Apply window to which time waveform (1 or 2)?\n"
                      "Error - enter integer again:\n"
                      "Apply window to which time waveform (1 or 2)?\n"
                      "Window has been applied to waveform 2\n" +
                      kPause);
  EXPECT_EQ(s[4], menu(m));
  // Points 3..7 fall 1, 0.75, 0.5, 0.25, 0; the rest after them are 0.
  const long double expected[] = {2, 2, 2, 1.5L, 1, 0.5L, 0};
  for (long i = 0; i < 7; ++i) EXPECT_EQ(p->wf.y2a[i], expected[i]) << i;
  for (long i = 7; i < n; ++i) EXPECT_EQ(p->wf.y2a[i], 0.0L) << i;
  EXPECT_EQ(p->wf.y1a[6], 2.0L);
}

TEST(TimeMenu, MainMenuKeyTOpensIt) {
  auto p = started_program(1000.0L, 8);
  ScriptedConsole con("tqq");
  EXPECT_THROW(main_menu(*p, con), ProgramExit);
  ASSERT_EQ(con.screens().size(), 3u);
  EXPECT_EQ(con.screens()[1], menu({}));
}

TEST(TimeMenu, ReadAndSaveMenusAreReachedWithRAndS) {
  TempDir dir;
  auto p = started_program(4.0L, 2);
  p->wf.y1a[1] = 6.5L;
  ScriptedConsole con(
      "s1f.txt\nc\nqr2f.txt\nq"
      "q");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(p->wf.y2a[1], 6.5L);
  EXPECT_EQ(p->wf.num_ptst2, 2);
}

TEST(StatusLines, ShiftTruncationAndScaleOfBothSlots) {
  auto p = started_program(1000.0L, 64);
  TimeWaveforms& wf = p->wf;
  EXPECT_EQ(waveform_status_lines(wf), "");
  wf.i_shift_wf1 = -3;
  wf.i_truncatet2 = 63;
  wf.scale_wf2 = 0.5L;
  EXPECT_EQ(waveform_status_lines(wf),
            "***Waveform 1 is shifted***\n"
            "***Waveform 2 is truncated***\n***Waveform 2 is scaled***\n");
  wf.i_truncatet1 = 1;
  wf.scale_wf1 = 1.0L + 1e-18L;
  wf.i_shift_wf2 = 63;
  EXPECT_EQ(waveform_status_lines(wf),
            "***Waveform 1 is shifted and truncated***\n***Waveform 1 is scaled***\n"
            "***Waveform 2 is shifted and truncated***\n***Waveform 2 is scaled***\n");
  wf.i_shift_wf1 = 0;
  wf.i_shift_wf2 = 0;
  wf.i_truncatet2 = 64;
  wf.scale_wf1 = 1.0L;
  wf.scale_wf2 = 1.0L;
  EXPECT_EQ(waveform_status_lines(wf), "***Waveform 1 is truncated***\n");
}

TEST(StatusLines, FollowTheMenuCommandsAndAReadClearsThem) {
  TempDir dir;
  dir.write("w.txt", "c\nx\n0 1\n0.25 2\ny\n");
  auto p = started_program(4.0L, 2);
  // Scaled by 2 then 0.5 is exactly 1 again; by 3 then 1/3 need not be.
  ScriptedConsole con("C1\n2\nC1\n0.5\nI2\n1\nkq");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(waveform_status_lines(p->wf), "***Waveform 2 is shifted***\n");
  ScriptedConsole third("C1\n3\nC1\n0.333333333333333333333\nq");
  time_waveforms_menu(*p, third);
  const bool exact = p->wf.scale_wf1 == 1.0L;
  EXPECT_EQ(waveform_status_lines(p->wf).find("Waveform 1 is scaled") != std::string::npos, !exact);
  ScriptedConsole read("rbw.txt\nw.txt\nqq");
  time_waveforms_menu(*p, read);
  EXPECT_EQ(waveform_status_lines(p->wf), "");
}

}  // namespace
}  // namespace refx
