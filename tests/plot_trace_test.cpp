// Trace drawing: pixel positions, sticks, truncation, clipping, and the phase adjustment.
#include <gtest/gtest.h>

#include <cmath>

#include "plot/trace.h"
#include "support/recording_plot_window.h"
#include "support/test_program.h"

namespace refx {
namespace {

// A set whose axes come out exact: x 0..600 in 6 steps of 100 (1.25 pixels per sample at
// delta 1) and y -2..2 in 8 steps of 0.5 (150 pixels per unit).
struct TraceBench {
  std::unique_ptr<Program> p = started_program(1000.0L, 1024);
  RecordingPlotWindow win;
  PlotParams set;
  long i_truncate = 601;
  int init_graph = 0;

  TraceBench() {
    set.xmin = 0.0f;
    set.xmax = 600.0f;
    set.ymin = -2.0f;
    set.ymax = 2.0f;
    set.i_min = 1;
    set.i_max = 601;
    set.npts = 1024;
    p->plot.plot_mode = 1;
  }
  void draw() { plot(init_graph, PlotJob{*p, win, set, i_truncate, 1.0f, p->wf.y1a, 1}); }
};

// The single-precision ln 10 makes the step 100.00001, so the axis ends a hair past 600.
int expected_x(long k, double axis_end = 600.0) {
  return static_cast<int>(std::floor(125 + (k - 1) * 750.0 / axis_end + 0.5));
}
int expected_y(double v) {
  return static_cast<int>(std::floor(100 + (2 - v) * 150 + 0.5));
}

TEST(Trace, FirstPlotOpensTheWindowAndLaysOutTheAxes) {
  TraceBench b;
  b.draw();
  EXPECT_EQ(b.win.opens(), 1);
  EXPECT_EQ(b.p->plot.graphics_window_created, 1);
  EXPECT_EQ(b.init_graph, 1);
  EXPECT_EQ(b.set.minx, 125);
  EXPECT_EQ(b.set.maxx, 875);
  EXPECT_EQ(b.set.maxy, 100);
  EXPECT_EQ(b.set.miny, 700);
  EXPECT_EQ(b.set.ndivh, 6);
  EXPECT_EQ(b.set.ndivv, 8);
  EXPECT_GT(b.set.xmax_axis, 600.0f);
  EXPECT_LT(b.set.xmax_axis, 600.001f);
  EXPECT_EQ(b.win.pictures(), 1);
  // Drawing ends unclipped so the cursors can be put back anywhere.
  EXPECT_EQ(b.win.calls().back(), "clip_window");
}

TEST(Trace, LaterPlotsKeepTheLayoutOfTheRun) {
  TraceBench b;
  b.draw();
  b.set.ymax = 7.0f;  // not laid out again until the next run
  b.draw();
  EXPECT_EQ(b.set.ymax_axis, 2.0f);
  EXPECT_EQ(b.win.opens(), 1);
}

TEST(Trace, TimeSamplesAreJoinedAtTheirPixels) {
  TraceBench b;
  for (long k = 1; k <= 1024; ++k) b.p->wf.y1a[k - 1] = std::sin(k * 0.05L) * 1.5L;
  b.draw();
  const auto& tr = b.win.trace();
  ASSERT_EQ(tr.size(), 600u);
  for (long k = 2; k <= 601; ++k) {
    const PlotSegment& s = tr[static_cast<std::size_t>(k - 2)];
    // Within half a pixel of the exact column (float steps may tip a half either way).
    EXPECT_NEAR(s.x2, 125 + (k - 1) * 750.0 / b.set.xmax_axis, 0.5 + 1e-3) << k;
    EXPECT_NEAR(s.x2, expected_x(k, b.set.xmax_axis), 1) << k;
    EXPECT_NEAR(s.y2, expected_y(static_cast<double>(b.p->wf.y1a[k - 1])), 1) << k;
    if (k > 2) {
      EXPECT_EQ(s.y1, tr[static_cast<std::size_t>(k - 3)].y2);
    }
  }
}

TEST(Trace, ExactValuesLandOnExactRows) {
  TraceBench b;
  for (long k = 1; k <= 1024; ++k) b.p->wf.y1a[k - 1] = k <= 300 ? 1.0L : -1.0L;
  b.draw();
  EXPECT_EQ(b.win.pixel(expected_x(100), expected_y(1.0)), 1);
  EXPECT_EQ(expected_y(1.0), 250);
  EXPECT_EQ(b.win.pixel(expected_x(400), 550), 1);
  EXPECT_EQ(b.win.pixel(expected_x(400), 250), 0);
  EXPECT_EQ(b.win.pixel(expected_x(100), 550), 0);
}

TEST(Trace, SamplesPastTheTruncationPointLieOnZero) {
  TraceBench b;
  for (long k = 1; k <= 1024; ++k) b.p->wf.y1a[k - 1] = 1.0L;
  b.i_truncate = 200;
  b.draw();
  const auto& tr = b.win.trace();
  EXPECT_EQ(tr[198].y2, 250);  // sample 200 keeps its value
  EXPECT_EQ(tr[199].y2, 400);  // sample 201 is drawn at zero
  EXPECT_EQ(tr.back().y2, 400);

  // Below i_min: only the first point keeps its value.
  b.i_truncate = 0;
  b.draw();
  EXPECT_EQ(b.win.trace().front().y1, 250);
  EXPECT_EQ(b.win.trace().front().y2, 400);
}

TEST(Trace, AmplitudeSticksRiseFromTheBottomEdge) {
  TraceBench b;
  b.p->plot.plot_mode = 2;
  for (long k = 1; k <= 1024; ++k) b.p->fft.fft1mag[k - 1] = 0.5L;
  b.i_truncate = 100;
  plot(b.init_graph, PlotJob{*b.p, b.win, b.set, b.i_truncate, 1.0f, b.p->fft.fft1mag, 1});
  const auto& tr = b.win.trace();
  ASSERT_EQ(tr.size(), 601u);  // the first stick too
  for (const PlotSegment& s : tr) {
    EXPECT_EQ(s.x1, s.x2);
    EXPECT_EQ(s.y1, 700);
  }
  EXPECT_EQ(tr[99].y2, expected_y(0.5));
  EXPECT_EQ(tr[100].y2, 700);  // truncated: no height
}

TEST(Trace, OneSampleRange) {
  TraceBench b;
  b.set.i_min = b.set.i_max = 50;
  b.set.xmin = 49.0f;  // one sample still needs a range to lay out
  b.draw();
  EXPECT_TRUE(b.win.trace().empty());  // a time plot shows only the axes
  b.p->plot.plot_mode = 2;
  b.draw();
  EXPECT_EQ(b.win.trace().size(), 1u);
}

TEST(Trace, ValuesBeyondTheAxisAreCutAtTheFrame) {
  TraceBench b;
  for (long k = 1; k <= 1024; ++k) b.p->wf.y1a[k - 1] = (k % 2) ? 1.0e4L : -1.0e4L;
  b.draw();
  for (int x = 126; x < 875; ++x) {
    EXPECT_EQ(b.win.lit_in_column(x, 0, 99), 0) << x;
    EXPECT_EQ(b.win.lit_in_column(x, 703, 720), 0) << x;  // below the tic marks
  }
  // Inside, the steep segments fill the plot area's rows.
  EXPECT_GE(b.win.lit_in_column(300, 101, 699) + b.win.lit_in_column(301, 101, 699), 599);
}

TEST(FindPixel, MatchesTheTraceColumns) {
  for (long k = 1; k <= 601; k += 7)
    EXPECT_EQ(find_pixel(k, 125, 875, 1.0f, 0.0f, 0.0f, 600.0f), expected_x(k)) << k;
  // Sample 1 sits at strt_val; a shifted start moves the whole axis.
  EXPECT_EQ(find_pixel(1, 125, 875, 1.0f, 10.0f, 10.0f, 610.0f), 125);
  EXPECT_EQ(find_pixel(601, 125, 875, 1.0f, 10.0f, 10.0f, 610.0f), 875);
}

TEST(TgAdjust, RemovesTheDelayAndWrapsThePhase) {
  EXPECT_FLOAT_EQ(tg_adjust(3, 10, 170.0f, 1.0L, 0.01f), -154.0f);
  EXPECT_EQ(tg_adjust(2, 10, 170.0f, 1.0L, 0.01f), 170.0f);
  EXPECT_EQ(tg_adjust(1, 10, 1234.5f, 1.0L, 0.01f), 1234.5f);
  for (long i = 0; i < 2000; i += 37) {
    for (float v : {-179.0f, -20.5f, 0.0f, 95.25f, 180.0f}) {
      const float r = tg_adjust(3, i, v, 24.5L, 0.0031f);
      EXPECT_GE(r, -180.0f);
      EXPECT_LE(r, 180.0f);
      const double shifted = v + i * 360.0 * 24.5 * 0.0031f;
      const double turns = (shifted - r) / 360.0;
      EXPECT_NEAR(turns, std::round(turns), 1e-4) << i << " " << v;
    }
  }
  // Without a delay the phase is only wrapped.
  EXPECT_FLOAT_EQ(tg_adjust(3, 5, 350.0f, 1.0L, 0.0f), -10.0f);
}

}  // namespace
}  // namespace refx
