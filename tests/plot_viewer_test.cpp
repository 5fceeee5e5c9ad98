// The interactive viewer's keys against the recording plot window.
#include <gtest/gtest.h>

#include "plot/trace.h"
#include "plot/viewer.h"
#include "support/recording_plot_window.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

// A time plot of waveform 1: 1024 samples 1 ms apart on the axis -1 .. 1.2.
struct Viewer : ::testing::Test {
  std::unique_ptr<Program> p;
  RecordingPlotWindow win;
  PlotParams& t() { return p->plot.t; }

  void SetUp() override { restart(1024); }
  void restart(long n) {
    p = started_program(1000.0L, n);
    p->plot_window = &(win = RecordingPlotWindow());
    for (long k = 0; k < n; ++k) p->wf.y1a[k] = (k % 50) / 50.0L - 0.5L;
  }
  // Runs the viewer as a menu does; a script that ends early leaves it where it stopped.
  void run(const std::string& keys, int mode = 1, PlotParams* set = nullptr,
           const Samples* values = nullptr, float delta = 0.001f) {
    win.type(keys);
    p->plot.plot_mode = mode;
    try {
      plot_results(*p, set ? *set : t(), set ? set->i_truncate : p->wf.i_truncatet1, delta,
                   values ? *values : p->wf.y1a, 1);
      graphics_window_end(*p);
    } catch (const PlotScriptExhausted&) {
    }
  }
};

// Leaving the two-cursor mode zooms to the span between the cursors, whichever is lower;
// the truncation marker wraps at the range ends. Both keep within the samples.
TEST_F(Viewer, CursorsZoomAndTheMarkerWraps) {
  const PlotParams start = t();
  const struct { std::string keys; long lo, hi, at; } cases[] = {
      {"cqq", 1, 1024, 1024},                 // unmoved: the same range
      {"caa>>>tbb<<<qq", 301, 1021, 1024},    // cursor 1 up 300, cursor 2 down 3 (accelerator 0)
      {"caa>>>ta<qq", 24, 301, 1024},         // cursor 2 below cursor 1
      {"caaaa>qq", 1, 1024, 1024},            // both on sample 1024: the range shown stays
      {"caa>qc" + std::string(30, '>') + "aa<<t>qq", 101, 1024, 1024},  // cursors stop at the ends
      {"t>qq", 1, 1024, 1},                   // marker up from i_max to i_min
      {"t<qq", 1, 1024, 1024},                // down from i_min to i_max
      {"taa<<<dqq", 1, 1024, 1024},           // D puts it back on i_max
      {"ta<<qq", 1, 1024, 1004},
      {"ctaaa<qtqq", 1, 24, 24},              // entered above i_max after a zoom: lowered first
  };
  for (const auto& c : cases) {
    t() = start;  // the marker goes on from case to case
    run(c.keys);
    EXPECT_TRUE(t().i_min == c.lo && t().i_max == c.hi && p->wf.i_truncatet1 == c.at) << c.keys;
    const long double step = 0.001f;  // the sample spacing as a float
    const float lo = (c.lo - 1) * step, hi = (c.hi - 1) * step;
    EXPECT_TRUE(t().xmin == lo && t().xmax == hi && t().xmin_axis == lo && t().xmax_axis >= hi)
        << c.keys;
    EXPECT_EQ(win.trace.size(), static_cast<std::size_t>(c.hi - c.lo));
  }
  for (auto [keys, i_max] :
       {std::pair{"ctaaaaa<qq", 6384L}, {"ctaaaaab<qq", 15384L}, {"ctabb<qq", 16383L}}) {
    restart(16384);  // the accelerator runs to ten thousand and back
    run(keys);
    EXPECT_EQ(t().i_max, i_max) << keys;
  }
}

TEST_F(Viewer, ReadOutsFollowTheCursorsAndShowTheAdjustedPhase) {
  p->wf.y1a[512] = -0.2345678L;
  run("caa>>>>>b>b>>", 1, nullptr, nullptr, 0.00001f);  // cursor 1 at 1 + 500 + 10 + 2
  EXPECT_TRUE(win.shows("513:5.120000e-03:-2.345678e-01", 62, 74));
  EXPECT_FALSE(win.shows("512:5.110000e-03:-2.800000e-01"));  // the old text is gone
  EXPECT_TRUE(win.shows("1024:1.023000e-02:-4.000000e-02", 937 - 8 * 31, 74));  // ends at 937
  p->fft.deltaf = 1, p->fft.Tg = 0.01f, p->fft.fft1ph[10] = 170;
  run("c" + std::string(10, '>'), 3, &p->plot.p, &p->fft.fft1ph, 1.0f);
  EXPECT_TRUE(win.shows("11:1.000000e+01:-1.540000e+02"));
  // refx_win's read-outs stand one tic and a pixel higher, over a band of two rows.
  p->build = &kWindowsBuild;
  graphics_window_end(*p), win.bands.clear();
  run("c>", 3, &p->plot.p, &p->fft.fft1ph, 1.0f);
  EXPECT_TRUE(win.shows("2:1.000000e+00:3.600000e+00", 62, 71));
  EXPECT_EQ(win.bands.back(), (std::vector<int>{62, 62, 27 * 8, 18}));
}

// Cursor motion puts back the saved columns and draws no new picture.
TEST_F(Viewer, MovedCursorsLeaveThePlotAsDrawn) {
  run("");
  const std::vector<int> plain = win.raster;
  run("caa>>b>>t<<");  // cursor 1 (now dotted) at 221, cursor 2 (solid) at 1004
  EXPECT_TRUE(win.clears == 2 && win.pictures == 2);
  const int x1 = int(find_pixel(221, 125, 875, 0.001f, 0, 0, 1.2f));  // the axis is 0 .. 1.2 s
  const int x2 = int(find_pixel(1004, 125, 875, 0.001f, 0, 0, 1.2f));
  long differ = 0;
  for (int i = 0; i < 1000 * 800; ++i)
    differ += i % 1000 != x1 && i % 1000 != x2 && win.raster[i] != plain[i];
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(win.lit_in_column(x2, 100, 700), 601);
  for (int y = 100; y <= 700; ++y)
    EXPECT_EQ(win.pixel(x1, y) != 0, (y - 100) % 6 <= 2 || y == 700 || plain[y * 1000 + x1]) << y;
}

// D in the two-cursor mode: every sample of a time plot, half the bins of a spectrum.
TEST_F(Viewer, ResetShowsAllSamplesOrHalfTheBins) {
  run("caa>qcdqq");
  EXPECT_TRUE(t().i_min == 1 && t().i_max == 1024);
  PlotParams& a = p->plot.a;
  const float df = static_cast<float>(p->fft.deltaf);
  run("caa>qcdqq", 2, &a, &p->fft.fft1mag, df);
  EXPECT_TRUE(a.i_min == 1 && a.i_max == 513);
  EXPECT_EQ(a.xmax, float(512 * static_cast<long double>(df)));
}

// The phase shown with tau: 360 f tau degrees added, wrapped into -180 .. 180, where -180
// comes out as 180 and 180 as -180.
TEST(PhaseWithTau, AddsTheDelayAndWrapsAtTheHalfTurn) {
  const float cases[][4] = {{3, 0, -180, 180}, {3, 0, 180, -180}, {3, 0, 179.5f, 179.5f},
                            {3, 4, 10, -170},  {3, 2, -100, -10}, {3, 9, 0, 45},
                            {1, 9, 500, 500},  {2, 9, -300, -300}};  // {mode, bin, value, shown}
  for (const auto& c : cases)                                        // 45 degrees a bin
    EXPECT_EQ(tg_adjust(int(c[0]), long(c[1]), c[2], 2.0L, 0.0625f), c[3]) << c[1] << " " << c[2];
}

// Exposures repaint but never act as the key read last; Q closes the window, and without one
// the viewer returns at once.
TEST_F(Viewer, ExposuresAreNoKeysAndQuitCloses) {
  run("c>~tq~q");
  // Clears: the plot, the repaint in the mode, leaving it, two main passes.
  EXPECT_TRUE(t().i_min == 2 && win.events_left() == 0 && win.clears == 5);
  EXPECT_TRUE(win.opens == 1 && win.closes == 1 && p->plot.graphics_window_created == 0);
  run("t<~<qq");
  EXPECT_EQ(p->wf.i_truncatet1, 1022);
  p->plot_window = nullptr;
  run("q");
  EXPECT_EQ(win.events_left(), 1u);
}

// The window manager's close request ('!') leaves the viewer wherever it comes: from a mode
// it acts as Q there (the cursors still zoom) and then as Q in the main loop; the keys after
// it stay unread.
TEST_F(Viewer, ACloseRequestLeavesTheViewerFromEveryMode) {
  const struct { std::string keys; long lo, at; } cases[] = {
      {"!q", 1, 1024},          // the main loop
      {"caa>!q", 101, 1024},    // two-cursor mode: zoomed as on Q
      {"t<!q", 1, 1023},        // truncation mode: the marker keeps its place
      {"c~!q", 1, 1024},        // after an exposure
  };
  const PlotParams start = t();
  for (const auto& c : cases) {
    t() = start;
    p->wf.i_truncatet1 = 1024;
    const int closes = win.closes;
    run(c.keys);
    EXPECT_TRUE(win.events_left() == 1 && win.closes == closes + 1) << c.keys;
    EXPECT_TRUE(t().i_min == c.lo && p->wf.i_truncatet1 == c.at) << c.keys << " " << t().i_min;
    win = RecordingPlotWindow();
  }
}

// The menus' way in: the keys typed into the terminal meanwhile are dropped once the window
// is closed; a window that cannot open is reported on the console with a pause, and the
// plot's settings stay as they were.
TEST_F(Viewer, ViewPlotDropsTypedAheadKeysAndSurvivesAMissingDisplay) {
  struct Con : ScriptedConsole {
    using ScriptedConsole::ScriptedConsole;
    int drops = 0;
    void drop_typed_ahead() override { ++drops; }
  } con("k");
  p->plot.plot_mode = 1;
  win.type("caa>qq");
  view_plot(*p, con, t(), p->wf.i_truncatet1, 0.001f, p->wf.y1a, 1);
  EXPECT_TRUE(con.drops == 1 && win.closes == 1 && win.events_left() == 0 && t().i_min == 101);
  EXPECT_EQ(con.transcript(), "");

  struct NoDisplay : RecordingPlotWindow {
    PlotArea open() override { throw PlotWindowUnavailable{"Can't connect to server\n"}; }
  } none;
  p->plot_window = &none;
  none.type("q");
  view_plot(*p, con, t(), p->wf.i_truncatet1, 0.001f, p->wf.y1a, 1);
  EXPECT_EQ(con.transcript(), "Can't connect to server\nPress any A/N key to continue\n");
  EXPECT_TRUE(con.waits() == 1 && con.script_done() && t().i_min == 101 && t().i_max == 1024);
  EXPECT_EQ(p->plot.graphics_window_created, 0);
}

}  // namespace
}  // namespace refx
