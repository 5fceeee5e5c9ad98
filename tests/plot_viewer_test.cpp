// The interactive viewer's keys against the recording plot window.
#include <gtest/gtest.h>

#include <string>

#include "plot/trace.h"
#include "plot/viewer.h"
#include "support/recording_plot_window.h"
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
  float x_of(long k) const {
    return static_cast<float>((k - 1) * static_cast<long double>(0.001f));
  }
  int column(long k) {
    return static_cast<int>(
        find_pixel(k, t().minx, t().maxx, 0.001f, 0, t().xmin_axis, t().xmax_axis));
  }
};

TEST_F(Viewer, QuitClosesTheWindowAndNoWindowMeansNothingToDo) {
  run("q");
  EXPECT_TRUE(win.opens == 1 && win.closes == 1 && win.events_left() == 0);
  EXPECT_EQ(p->plot.graphics_window_created, 0);
  EXPECT_EQ(win.trace.size(), 1023u);
  p->plot_window = nullptr;
  run("q");  // returns without waiting for a key
  EXPECT_EQ(win.events_left(), 1u);
}

// Leaving the two-cursor mode zooms to the span between the cursors, whichever is lower.
TEST_F(Viewer, CursorsZoomToTheirSpan) {
  const PlotParams start = t();
  const struct {
    std::string keys;
    long lo, hi;
  } cases[] = {
      {"cqq", 1, 1024},               // unmoved: the same range
      {"caa>>>tbb<<<qq", 301, 1021},  // cursor 1 up 300, cursor 2 down 3 (accelerator 0 again)
      {"caa>>>ta<qq", 24, 301},       // cursor 2 below cursor 1
      {"caaaa>qq", 1, 1024},          // both on sample 1024: the range shown stays
      {"caa>qc" + std::string(30, '>') + "aa<<t>qq", 101, 1024},  // cursors stop at the ends
  };
  for (const auto& c : cases) {
    t() = start;
    run(c.keys);
    EXPECT_EQ(t().i_min, c.lo) << c.keys;
    EXPECT_EQ(t().i_max, c.hi) << c.keys;
    EXPECT_EQ(t().xmin, x_of(c.lo));
    EXPECT_EQ(t().xmax, x_of(c.hi));
    EXPECT_TRUE(t().xmin_axis == t().xmin && t().xmax_axis >= t().xmax) << c.keys;
    EXPECT_EQ(win.trace.size(), static_cast<std::size_t>(c.hi - c.lo));
  }
}

TEST_F(Viewer, AcceleratorRunsToTenThousandAndBack) {
  const struct {
    const char* keys;
    long i_max;
  } cases[] = {{"ctaaaaa<qq", 6384}, {"ctaaaaab<qq", 15384}, {"ctabb<qq", 16383}};
  for (const auto& c : cases) {
    restart(16384);
    run(c.keys);  // cursor 2 down from 16384
    EXPECT_EQ(t().i_max, c.i_max) << c.keys;
  }
}

TEST_F(Viewer, ReadOutsFollowTheCursorsAndShowTheAdjustedPhase) {
  p->wf.y1a[512] = -0.2345678L;
  run("caa>>>>>b>b>>", 1, nullptr, nullptr, 0.00001f);  // cursor 1 at 1 + 500 + 10 + 2
  EXPECT_TRUE(win.shows("513:5.120000e-03:-2.345678e-01", 62, 74));
  EXPECT_FALSE(win.shows("512:5.110000e-03:-2.800000e-01"));  // the old text is gone
  const std::string two = "1024:1.023000e-02:-4.000000e-02";  // read-out 2 ends at 937
  EXPECT_TRUE(win.shows(two, 937 - 8 * static_cast<int>(two.size()), 74));

  p->fft.deltaf = 1;
  p->fft.Tg = 0.01f;
  p->fft.fft1ph[10] = 170;
  run("c" + std::string(10, '>'), 3, &p->plot.p, &p->fft.fft1ph, 1.0f);
  EXPECT_TRUE(win.shows("11:1.000000e+01:-1.540000e+02"));
}

// Cursor motion puts back the saved columns and draws no new picture.
TEST_F(Viewer, MovedCursorsLeaveThePlotAsDrawn) {
  run("");
  const std::vector<int> plain = win.raster;
  run("caa>>b>>t<<");  // cursor 1 (now dotted) at 221, cursor 2 (solid) at 1004
  EXPECT_EQ(win.clears, 2);
  EXPECT_EQ(win.pictures, 2);
  const int x1 = column(221), x2 = column(1004);
  long differ = 0;
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 1000; ++x)
      if (x != x1 && x != x2) differ += win.pixel(x, y) != plain[y * 1000 + x];
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(win.lit_in_column(x2, 100, 700), 601);
  for (int y = 100; y <= 700; ++y)
    EXPECT_EQ(win.pixel(x1, y) != 0, (y - 100) % 6 <= 2 || y == 700 || plain[y * 1000 + x1]) << y;
}

TEST_F(Viewer, ResetOnAnAmplitudePlotShowsHalfTheBins) {
  PlotParams& a = p->plot.a;
  run("caa>qcdqq", 2, &a, &p->fft.fft1mag, static_cast<float>(p->fft.deltaf));
  EXPECT_EQ(a.i_min, 1);
  EXPECT_EQ(a.i_max, 513);
  EXPECT_EQ(a.xmax,
            static_cast<float>(512 * static_cast<long double>(static_cast<float>(p->fft.deltaf))));
}

TEST_F(Viewer, TruncationMarkerWrapsAtTheRangeEnds) {
  const struct {
    const char* keys;
    long at;
  } cases[] = {
      {"t>qq", 1},          // up from i_max to i_min
      {"t<qq", 1024},       // down from i_min to i_max
      {"taa<<<dqq", 1024},  // D puts it back on i_max
      {"ta<<qq", 1004},
      {"ctaaa<qtqq", 24},  // entered above i_max after a zoom: lowered to it first
  };
  for (const auto& c : cases) {
    run(c.keys);
    EXPECT_EQ(p->wf.i_truncatet1, c.at) << c.keys;
  }
}

// Exposures repaint but never act as the key read last.
TEST_F(Viewer, ExposuresAreNoKeys) {
  run("c>~tq~q");
  EXPECT_EQ(t().i_min, 2);
  EXPECT_EQ(win.events_left(), 0u);
  EXPECT_EQ(win.clears, 5);  // the plot, the repaint in the mode, leaving it, two main passes
  run("t<~<qq");
  EXPECT_EQ(p->wf.i_truncatet1, 1022);
}

}  // namespace
}  // namespace refx
