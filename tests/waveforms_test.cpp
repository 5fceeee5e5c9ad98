// Time waveforms: their files, the time waveforms menu and the window functions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>

#include "core/program.h"
#include "support/recording_plot_window.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"
#include "support/test_program.h"
#include "waveforms/time_menu.h"
#include "waveforms/waveform_files.h"
#include "waveforms/window_functions.h"

namespace refx {
namespace {

const auto npos = std::string::npos;
const std::string kPause = "Press any A/N key to continue\n";

const std::string kPrompt = "Enter file name for time waveform 1, or Q to quit:\n";

// An x87 extended value as its ten little-endian bytes.
std::string x87(std::uint64_t significand, unsigned sign_exponent) {
  std::string bytes;
  for (int i = 0; i < 80; i += 8)
    bytes += static_cast<char>((i < 64 ? significand >> i : sign_exponent >> (i - 64)) & 0xFF);
  return bytes;
}

TEST(WaveformFiles, AsciiRoundTripLayoutAndIntervalWarning) {
  TempDir dir;
  auto p = started_program();
  for (long i = 0; i < p->num_meas_points; ++i) p->wf.y1a[i] = std::sin(i * 0.37L) * 1e3L / 7;
  ScriptedConsole con("wave.txt\nround trip\nwave.txt\n");
  save_time_waveform(*p, con, p->wf.slot(1));
  read_time_waveform(*p, con, p->wf.slot(2), p->num_meas_points, p->wf.file_name);
  for (long i = 0; i < p->num_meas_points; ++i)
    ASSERT_LE(std::fabs(p->wf.y1a[i] - p->wf.y2a[i]), 5e-11L * std::fabs(p->wf.y1a[i])) << i;
  EXPECT_TRUE(con.transcript().find("Warning") == npos && con.waits() == 0);

  // At 10 samples/s the float deltat lies 1.5e-9 from 0.1: a file written then warns.
  p = started_program(10.0L, 2);
  p->wf.y1a[0] = 1.25L, p->wf.y1a[1] = -3.0L;
  ScriptedConsole ten("w.txt\nc\nw.txt\nk");
  save_time_waveform(*p, ten, p->wf.slot(1));
  EXPECT_EQ(dir.read("w.txt"),
            "c\nx\n  0.0000000000e+00    1.2500000000e+00\n"
            "  1.0000000000e-01   -3.0000000000e+00\ny\n");
  read_time_waveform(*p, ten, p->wf.slot(1), p->num_meas_points, p->wf.file_name);
  EXPECT_EQ(ten.transcript().substr(ten.transcript().find(kPrompt)),
            kPrompt + "Warning - delt in file doesnt match program value;\n" + kPause);
  EXPECT_EQ(p->wf.deltat1, 0.1L);
}

TEST(WaveformFiles, BinaryRecordsInBothWidthsReadExactlyAndSaveTheSameLayout) {
  // Each record is a time then a value; the program's pi must have exactly the bits given here.
  const std::string values[3][2] = {{x87(0, 0), x87(0xC90FDAA22168C235ull, 0x4000)},  // 0, pi
                                    {x87(1ull << 63, 0x3FFD), x87(0xAAAAAAAAAAAAAAABull, 0x3FFD)},
                                    {x87(1ull << 63, 0x3FFE), x87(1ull << 63, 0xC000)}};  // .5, -2
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    TempDir dir;
    auto p = started_program(4.0L, 4, *build);
    p->i_rw_bin_ascii = 1;
    const std::size_t width = build->binary_value_bytes;
    auto file = [&](const std::string& pad) {
      std::string bytes = std::string("hand made").append(247, '\0');
      for (const auto& rec : values) bytes += rec[0] + pad + rec[1] + pad;
      return bytes;
    };
    dir.write("w.bin", file(std::string("\xAA\x55").substr(0, width - 10)));
    ScriptedConsole con("w.bin\n0\nout.bin\nhand made\n");
    read_time_waveform(*p, con, p->wf.slot(1), p->num_meas_points, p->wf.file_name);
    EXPECT_TRUE(p->wf.num_ptst1 == 3 && p->wf.deltat1 == 0.25L) << width;
    const long double want[] = {p->pi, 1.0L / 3.0L, -2.0L};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(p->wf.y1a[i], want[i]) << width;
    save_time_waveform(*p, con, p->wf.slot(1));
    EXPECT_EQ(dir.read("out.bin"), file(std::string(width - 10, '\0'))) << width;
  }
}

TEST(WaveformFiles, ShortLongEmptyAndHeaderlessFiles) {
  const std::string kShort =
      "Warning: number of points is less than max_num_pts;\n"
      "Fill remaining values with 0s? 1=Y, 0=N:\n";
  const std::string kFilled = "Warning - array is filled up, but not at end of file;\n" + kPause;
  using Case = std::tuple<const char*, const char*, long, std::vector<long double>, std::string>;
  const Case cases[] = {
      {"c\nx\n0 1.5\n0.25 2.5\n0.5 3.5\ny\n", "0\n", 3, {1.5L, 2.5L, 3.5L, 103}, kShort},
      {"c\nx\n0 1.5\n0.25 2.5\ny\n", "1\n", 4, {1.5L, 2.5L, 0, 0}, kShort},
      {"c\nx\n0 1\n.25 2\n.5 3\n.75 4\n1 5\n", "k", 4, {1, 2, 3, 4, 104}, kFilled},
      {"c\nx\n0 1\n.25 2\n.5 3\n.75 4\ny\n", "", 4, {1, 2, 3, 4}, ""},
      // Free layout ending in a lone number; a file without its "x" line loses its first pair.
      {"c\nx\n0 1 0.25\n2   .5\n\n3 7.5\n", "", 4, {1, 2, 3, 7.5L, 104}, ""},
      {"comment\n0 1\n0.25 2\n0.5 3\n", "0\n", 2, {2, 3, 102}, kShort},
      {"c\nx\ny\n", "0\n", 0, {100}, "Warning - no data was found\n" + kShort},
  };
  for (const auto& [contents, typed, num, y, warnings] : cases) {
    TempDir dir;
    dir.write("w.txt", contents);
    auto p = started_program(4.0L, 4);
    for (int i = 0; i < 5; ++i) p->wf.y1a[i] = 100 + i;
    ScriptedConsole con(std::string("w.txt\n") + typed);
    read_time_waveform(*p, con, p->wf.slot(1), p->num_meas_points, p->wf.file_name);
    EXPECT_TRUE(con.transcript() == kPrompt + warnings && p->wf.num_ptst1 == num) << contents;
    for (std::size_t i = 0; i < y.size(); ++i) EXPECT_EQ(p->wf.y1a[i], y[i]) << contents;
    EXPECT_EQ(p->wf.deltat1, num < 2 ? static_cast<long double>(p->deltat) : 0.25L);
  }
}

TEST(WaveformFiles, QuittingTheReadChangesOnlyShiftAndIntervalAndAQuitSaveWritesNothing) {
  TempDir dir;
  dir.write("w.txt", "c\nx\n0 4\n0.25 5\ny\n");
  auto p = started_program(4.0L, 2);
  TimeWaveforms& w = p->wf;
  for (const char* typed : {"1w.txt\nq", "1Q\nq"}) {
    w.y1a[0] = 9, w.deltat1 = 3, w.scale_wf1 = 2, w.num_ptst1 = w.i_shift_wf1 = w.i_truncatet1 = 1;
    ScriptedConsole con(typed);
    readt_from_disk(*p, con);
    const bool r = typed[1] != 'Q';
    EXPECT_TRUE(w.y1a[0] == (r ? 4 : 9) && w.num_ptst1 == 1 + r && w.i_truncatet1 == 1 + r &&
                w.scale_wf1 == 2 - r && w.i_shift_wf1 == 0);
    EXPECT_EQ(w.deltat1, r ? 0.25L : static_cast<long double>(p->deltat));
  }
  // A save given up at the retry prompt writes nothing.
  ScriptedConsole con("1no/such/dir\nq\nkQ");
  savet_to_disk(*p, con);
  EXPECT_NE(con.transcript().find("Q to quit:\nFile save aborted\nPress any A/N key to continue\n"),
            npos);
  EXPECT_FALSE(dir.exists("no") || dir.exists("q"));
}

// B reads and saves both slots; each saved time column steps by its slot's own interval.
TEST(WaveformFiles, BReadsAndSavesBothSlotsEachWithItsOwnInterval) {
  TempDir dir;
  dir.write("a.txt", "c\nx\n0 1\n0.5 2\ny\n");
  dir.write("b.txt", "c\nx\n0 3\n0.25 4\ny\n");
  auto p = started_program(4.0L, 2);
  p->wf.i_shift_wf1 = p->wf.i_shift_wf2 = 1, p->wf.i_truncatet1 = p->wf.i_truncatet2 = 1;
  ScriptedConsole con("ba.txt\nkb.txt\nq");
  readt_from_disk(*p, con);
  const TimeWaveforms& w = p->wf;
  EXPECT_TRUE(w.y1a[1] == 2 && w.y2a[1] == 4 && w.deltat1 == 0.5L && w.deltat2 == 0.25L);
  EXPECT_EQ(w.i_shift_wf1 + w.i_shift_wf2 + w.i_truncatet1 + w.i_truncatet2, 4);
  con.type("bA\nca\nB\ncb\nq");
  savet_to_disk(*p, con);
  EXPECT_EQ(dir.read("A"),
            "ca\nx\n  0.0000000000e+00    1.0000000000e+00\n"
            "  5.0000000000e-01    2.0000000000e+00\ny\n");
  EXPECT_EQ(dir.read("B"),
            "cb\nx\n  0.0000000000e+00    3.0000000000e+00\n"
            "  2.5000000000e-01    4.0000000000e+00\ny\n");
}

std::unique_ptr<Program> ramps(long n) {
  auto p = started_program(1000.0L, n);
  for (long i = 0; i < n; ++i) p->wf.y1a[i] = 1000 + i, p->wf.y2a[i] = 0.5L * i - 3;
  return p;
}

TEST(TimeMenu, ShiftIsAbsoluteAndCircularAndScaleIsCumulative) {
  auto p = ramps(16);
  const Samples before = p->wf.y1a;
  // Shifts are absolute: 3, -1, 15, -15 ends at -15 (moved by their sum, 2, were they relative);
  // the last move, -30, wraps round. 16 and -16 are one too far. Scaling 2 then -1.5 shows -3.
  ScriptedConsole con("xi3\n1\n3\nkI1\n-1\nkc0\n2\n2\nC2\n-1.5\nI1\n16\n15\nkI1\n-16\n-15\nkq");
  time_waveforms_menu(*p, con);
  EXPECT_EQ(con.screens()[0],
            "R to read time waveform(s) from disk\nS to save time waveform(s) to disk\n"
            "P to plot time waveforms\nA to change vertical axis range for plots vs. time\n"
            "T to subtract time waveforms (y1 - y2 -> y1)\n"
            "U to add time waveforms (y1 + y2 -> y1)\nW to set up window function\n"
            "L to remove reflections using a compression filter\n"
            "I to shift time waveforms (0,0)\n"
            "C to scale time waveforms (1.000000e+00,1.000000e+00)\n"
            "Q to return to main menu\nEnter Command :\n");
  EXPECT_NE(con.screens()[4].find("(-1,0)\nC to scale time waveforms (1.000000e+00,2.0"), npos);
  EXPECT_NE(con.screens()[5].find("C to scale time waveforms (1.000000e+00,-3.000000e+00)"), npos);
  EXPECT_EQ(p->wf.y2a[5], -3.0L * (0.5L * 5 - 3));
  std::size_t refused = 0;
  for (auto at = con.transcript().find("Enter again - shift is too large\n"); at != npos;
       at = con.transcript().find("Enter again", at + 1))
    ++refused;
  EXPECT_EQ(refused, 2u);

  for (long i = 0; i < 16; ++i) EXPECT_EQ(p->wf.y1a[i], before[(i + 15) % 16]) << i;
  EXPECT_EQ(p->wf.i_shift_wf1, -15);
}

// P plots slot 2 for any number above 1, else slot 1; the window closes after the viewer.
TEST(TimeMenu, PlotShowsTheChosenSlot) {
  for (int typed : {2, 7, 1, 0}) {
    auto p = started_program(1000.0L, 64);
    RecordingPlotWindow win;
    p->plot_window = &win, win.type("q");
    for (long i = 0; i < 64; ++i) p->wf.y2a[i] = 1;  // at the top; slot 1 in the middle
    ScriptedConsole con("p" + std::to_string(typed) + "\nq");
    time_waveforms_menu(*p, con);
    EXPECT_TRUE(p->plot.plot_mode == 1 && win.closes == 1);
    EXPECT_EQ(win.trace.at(10).y2 < 250, typed > 1) << typed;  // the area spans 100 to 700
  }
}

TEST(TimeMenu, SubtractAndAddStopAtTheTruncationPoint) {
  for (const char key : {'t', 'u'}) {
    auto p = ramps(256);
    const Samples y1 = p->wf.y1a, y2 = p->wf.y2a;
    (key == 't' ? p->wf.i_truncatet1 : p->wf.i_truncatet2) = 100;
    ScriptedConsole con(std::string(1, key) + "kq");
    time_waveforms_menu(*p, con);
    EXPECT_NE(con.screens()[0].find(key == 't' ? "T to subtract ***" : "U to add ***"), npos);
    for (long i = 0; i < 256; ++i)  // beyond the truncation point y1 counts as zero, y2 as absent
      EXPECT_EQ(p->wf.y1a[i], key == 't' ? (i < 100) * y1[i] - y2[i] : y1[i] + (i < 100) * y2[i]);
  }
}

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Each key sets up its shape over points 3 to 12 (D = 9): its prompts, its label, and every
// entry against the shape's formula in long double.
TEST(Windows, EveryKeySetsUpItsShapeAgainstItsFormula) {
  using L = long double;
  const struct {
    char key;
    const char* label;
    L (*w)(L k, L d);
  } shapes[] = {
      {'A', " Bartlett(linear) (", [](L k, L d) { return 1 - k / d; }},
      {'N', " Hanning(cosine) (", [](L k, L d) { return 0.5L + 0.5L * std::cos(k * kPi / d); }},
      {'M', " Hamming(cosine-residual) (",
       [](L k, L d) { return 0.54L + 0.46L * std::cos(k * kPi / d); }},
      {'L', " Blackman(double cosine) (",
       [](L k, L d) {
         return 0.42L + 0.5L * std::cos(k * kPi / d) + 0.08L * std::cos(2 * k * kPi / d);
       }},
      {'P', " Parzen(cubic) (", [](L k, L d) {
         const L a = k / d;
         return k <= d / 2 ? 1 - 6 * a * a + 6 * a * a * a : 2 * (1 - a) * (1 - a) * (1 - a);
       }}};
  for (int type = 1; type <= 5; ++type) {
    const auto& shape = shapes[type - 1];
    auto p = started_program(1000.0L, 64);
    ScriptedConsole con(std::string(1, shape.key) + "3\n12\nq");
    window_menu(*p, con);
    const std::string index = type == 1 ? "index starting at 1):\n" : "index):\n";
    EXPECT_NE(
        con.screens()[0].find("Enter first point, where window = 1 (integer " + index +
                              "Enter last point, where window reaches minimum (integer " + index),
        npos);
    EXPECT_EQ(con.screens()[1].find(shape.label + std::string("3,12) set up\nA to set up")), 0u);
    EXPECT_EQ(p->wf.window_type, type);
    for (int k = 0; k <= 9; ++k) EXPECT_NEAR(p->wf.window[k], shape.w(k, 9), 3e-19L) << type << k;
  }
}

TEST(Windows, ParzenOverFourStepsAndHammingAppliedFrom101To200) {
  auto p = ramps(256);
  long double w[5];
  fill_window(5, 4, p->pi, w);
  const long double parzen[] = {1, 1 - 6.0L / 16 + 6.0L / 64, 1 - 1.5L + 6.0L / 8, 2.0L / 64, 0};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(w[k], parzen[k]) << k;
  for (int i = 0; i < 256; ++i) p->wf.y2a[i] = 1.0L + i;
  ScriptedConsole con("wM101\n200\nqy3\n2\nkq");  // 3 is asked again
  time_waveforms_menu(*p, con);
  EXPECT_NE(con.transcript().find("Hamming(cosine-residual) (101,200)\nY to apply window"), npos);
  const std::string which = "Apply window to which time waveform (1 or 2)?\n";
  EXPECT_NE(con.transcript().find(which + "Error - enter integer again:\n" + which +
                                  "Window has been applied to waveform 2\n"),
            npos);
  for (int i = 0; i < 256; ++i) {
    const long double c = 0.54L + 0.46L * std::cos((i - 100) * p->pi / 99);
    EXPECT_NEAR(p->wf.y2a[i], (1.0L + i) * (i <= 100 ? 1 : i < 199 ? c : 0.08L), 1e-15L) << i;
  }
  EXPECT_EQ(p->wf.y1a[255], 1255.0L);
}

TEST(Windows, BadPointsAndSizesAreRefusedAndReleaseTheWindow) {
  for (const auto& [typed, message] :
       {std::pair{"N0\n10\n", "Error - window indices out of range\n"},
        {"N7\n7\n", "Error - last point must be greater than first point\n"},
        {"A1\n10001\n", "Error - window size is bigger than array dimension\n"}}) {
    auto p = started_program(1000.0L, 64);
    ScriptedConsole con(std::string("A1\n10000\n") + typed + "kq");
    window_menu(*p, con);
    EXPECT_NE(con.screens()[1].find(message + kPause), npos) << typed;
    EXPECT_TRUE(p->wf.window_type == 0 && !con.screens()[1].find(" Bartlett(linear) (1,10000)"));
  }
}

}  // namespace
}  // namespace refx
