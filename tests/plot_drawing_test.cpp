// Axis layout and drawing, the drawing primitives, and the trace of one plot.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "plot/axis.h"
#include "plot/drawing.h"
#include "plot/trace.h"
#include "support/recording_plot_window.h"
#include "support/test_program.h"

namespace refx {
namespace {

const float kLn10 = 2.3025851f;  // the program's single-precision ln 10

PlotParams laid_out(float xmin, float xmax, float ymin, float ymax) {
  PlotParams s;
  s.xmin = xmin, s.xmax = xmax, s.ymin = ymin, s.ymax = ymax;
  setup_horiz_axis(s, kLn10);
  setup_vert_axis(s, kLn10);
  s.minx = 125, s.maxx = 875, s.maxy = 100, s.miny = 700;
  return s;
}

TEST(PlotRounding, HalvesGoAwayFromZeroAndFracKeepsTheSign) {
  for (double x : {2.5, -2.5, 2.4999, -2.4999, 699.5})
    EXPECT_EQ(Round(x), static_cast<long>(x + (x > 0 ? 0.5 : -0.5))) << x;
  EXPECT_EQ(frac(-1.25f), -0.25f);
  EXPECT_EQ(frac(3.75f), 0.75f);
  EXPECT_EQ(truncfi(-1.25f), -1);
  EXPECT_EQ(truncfi(1.99f), 1);
}

// Each range laid out on both axes: exponent, step mantissa, divisions, axis end.
TEST(AxisLayout, RoundStepsForKnownRanges) {
  struct Case {
    float lo, hi;
    int n;
    float mantissa;
    int ndiv;
    float end;
  };
  const Case cases[] = {
      {-1, 1, 0, 0.2f, 11, 1.2f},  // ten float steps of 0.2 overshoot 2.0: an eleventh
      {0, 0.01023f, -2, 0.2f, 6, 0.012f},
      {0, 0.05f, -2, 1, 6, 0.06f},  // the single-precision ln 10 lifts it into the top band
      {-30, 10, 1, 0.5f, 8, 10},
      {0, 5, 0, 0.5f, 10, 5},  // band edges belong to the lower band
      {0, 2.5f, 0, 0.25f, 10, 2.5f},
      {0, 2, 0, 0.2f, 11, 2.2f},
      {0, 5.5f, 0, 1, 6, 6},  // just above an edge the next band up applies
      {0, 3, 0, 0.5f, 6, 3},
      {0, 2.25f, 0, 0.25f, 9, 2.25f},
      {0, 1.5f, 0, 0.2f, 8, 1.6f},
  };
  for (const Case& c : cases) {
    const PlotParams s = laid_out(c.lo, c.hi, c.lo, c.hi);
    SCOPED_TRACE(std::to_string(c.lo) + " .. " + std::to_string(c.hi));
    EXPECT_EQ(s.n_h, c.n);
    EXPECT_EQ(s.deltah_n, c.mantissa);
    EXPECT_NEAR(s.deltah, c.mantissa * std::pow(10.0, c.n), 1e-6 * std::pow(10.0, c.n));
    EXPECT_EQ(s.ndivh, c.ndiv);
    EXPECT_EQ(s.xmin_axis, c.lo);
    EXPECT_FLOAT_EQ(s.xmax_axis, c.end);
    EXPECT_EQ(s.n_v, c.n);
    EXPECT_EQ(s.deltav, s.deltah);
    EXPECT_EQ(s.ndivv, c.ndiv);
    EXPECT_EQ(s.ymax_axis, s.xmax_axis);
  }
  PlotParams s = laid_out(-1, 1, -1, 1);
  s.ymin = s.ymax = 0.5f;  // no range: the layout stays
  setup_vert_axis(s, kLn10);
  EXPECT_EQ(s.ndivv, 11);
  EXPECT_EQ(s.ymin_axis, -1.0f);
}

TEST(AxisDrawing, FrameTicsAndLabels) {
  const char* h_unit[] = {"", " sec", " Hz", " Hz"};
  const char* v_unit[] = {"", "", " dB", " deg"};
  for (int mode : {1, 2, 3}) {
    RecordingPlotWindow w;
    const PlotParams s = laid_out(0, 0.01023f, -1, 1);
    draw_horiz_axis(w, s, mode, 2, 1);
    draw_vert_axis(w, s, mode, 2, 1);
    for (int x = 125; x <= 875; ++x) EXPECT_TRUE(w.pixel(x, 100) && w.pixel(x, 700)) << x;
    EXPECT_EQ(w.lit_in_column(125, 100, 700) + w.lit_in_column(875, 100, 700), 1202);
    EXPECT_EQ(w.lit_in_column(250 + 63, 0, 799), 2);  // between tics only the frame
    for (int i = 1; i < 6; ++i) EXPECT_EQ(w.lit_in_column(125 + 125 * i, 690, 710), 5) << i;
    for (int i = 1; i < 11; ++i) {
      const int y = static_cast<int>(std::lround(100 + i * 600.0 / 11));
      for (int x = 121; x <= 129; ++x) EXPECT_EQ(w.pixel(x, y) != 0, x >= 123 && x <= 127) << y;
    }
    const std::string h = std::string("H: 2.000e-01 x 10^-2") + h_unit[mode];
    const std::string v = std::string("V: 2.000e-01 x 10^0") + v_unit[mode];
    char hi[32];
    std::snprintf(hi, sizeof hi, "%14e", static_cast<double>(s.xmax_axis));
    EXPECT_TRUE(w.shows(h, 500 - 4 * static_cast<int>(h.size()), 725)) << h;
    EXPECT_TRUE(w.shows(v, 500 - 4 * static_cast<int>(v.size()), 87)) << v;
    EXPECT_TRUE(w.shows("  0.000000e+00", 125 - 56, 725));
    EXPECT_TRUE(w.shows(hi, 875 - 56, 725));
    EXPECT_TRUE(w.shows("-1.0000", 125 - 56 - 5, 704));
    EXPECT_TRUE(w.shows("1.2000", 125 - 48 - 5, 104));
  }
}

TEST(DrawingPrimitives, TextWidthAndDottedLines) {
  RecordingPlotWindow w;
  EXPECT_EQ(textwidth(w, 50, std::string(60, 'x')), 400);
  EXPECT_EQ(textwidth(w, 50, ""), 0);
  w.char_size = 7;
  EXPECT_EQ(textwidth(w, 2, "abc"), 14);

  dotted_line(w, 300, 300, 300, 300, 1);
  EXPECT_EQ(w.line_calls, 0);             // equal ends draw nothing at all
  dotted_line(w, 500, 100, 500, 200, 1);  // a 2-pixel dash every 6, then a last piece
  for (int y = 99; y <= 201; ++y)
    EXPECT_EQ(w.pixel(500, y) != 0, y >= 100 && y <= 200 && ((y - 100) % 6 <= 2 || y == 200)) << y;
  EXPECT_EQ(w.lit_in_column(499, 0, 799) + w.lit_in_column(501, 0, 799), 0);
  const int calls = w.line_calls;
  dotted_line(w, 400, 500, 400, 300, 1);  // running backwards: one solid line
  EXPECT_EQ(w.line_calls, calls + 1);
  EXPECT_EQ(w.lit_in_column(400, 300, 500), 201);
}

// x 0..600 in 6 steps of 100 (1.25 pixels per sample at delta 1), y -2..2 in 8 steps of 0.5
// (150 pixels per unit, value v on row 400 - 150 v).
struct Trace : ::testing::Test {
  std::unique_ptr<Program> p = started_program(1000.0L, 1024);
  RecordingPlotWindow win;
  PlotParams set;
  long i_truncate = 601;
  int init_graph = 0;

  void SetUp() override {
    set.xmin = 0, set.xmax = 600, set.ymin = -2, set.ymax = 2;
    set.i_min = 1, set.i_max = 601, set.npts = 1024;
    p->plot.plot_mode = 1;
  }
  void draw(int mode, const Samples& values) {
    p->plot.plot_mode = mode;
    plot(init_graph, PlotJob{*p, win, set, i_truncate, 1.0f, values, 1});
  }
  long column(long k) const {
    return find_pixel(k, set.minx, set.maxx, 1.0f, set.strt_val, set.xmin_axis, set.xmax_axis);
  }
};

TEST_F(Trace, FirstPlotOpensAndLaysOutLaterPlotsKeepTheLayout) {
  draw(1, p->wf.y1a);
  EXPECT_EQ(win.opens, 1);
  EXPECT_EQ(p->plot.graphics_window_created, 1);
  EXPECT_EQ(init_graph, 1);
  EXPECT_TRUE(set.minx == 125 && set.maxx == 875 && set.maxy == 100 && set.miny == 700);
  EXPECT_TRUE(set.ndivh == 6 && set.ndivv == 8);
  EXPECT_EQ(win.clip[2], 1000);  // unclipped at the end, so cursors can be put back anywhere
  set.ymax = 7;
  draw(1, p->wf.y1a);
  EXPECT_EQ(set.ymax_axis, 2.0f);
  EXPECT_EQ(win.opens, 1);
  EXPECT_EQ(win.pictures, 2);
}

TEST_F(Trace, TimeSamplesSitOnTheirPixelsAndTruncatedOnesOnZero) {
  for (long k = 0; k < 1024; ++k) p->wf.y1a[k] = std::sin(k * 0.05L) * 1.5L;
  p->wf.y1a[99] = 1;
  draw(1, p->wf.y1a);
  ASSERT_EQ(win.trace.size(), 600u);
  EXPECT_EQ(win.pixel(static_cast<int>(column(100)), 250), 1);  // 1.0 on row 250
  for (long k = 2; k <= 601; ++k) {
    const PlotSegment& s = win.trace[k - 2];
    EXPECT_NEAR(s.x2, column(k), 1) << k;
    EXPECT_NEAR(s.y2, 400 - 150 * static_cast<double>(p->wf.y1a[k - 1]), 1) << k;
    EXPECT_EQ(s.y1, k > 2 ? win.trace[k - 3].y2 : s.y1);
  }
  for (long k = 0; k < 1024; ++k) p->wf.y1a[k] = 1;
  for (long trunc : {200L, 0L}) {  // below i_min only the first point keeps its value
    i_truncate = trunc;
    draw(1, p->wf.y1a);
    EXPECT_EQ(win.trace[0].y1, 250);
    for (std::size_t i = 0; i < win.trace.size(); ++i)
      EXPECT_EQ(win.trace[i].y2, static_cast<long>(i) + 2 <= trunc ? 250 : 400) << i;
  }
}

TEST_F(Trace, SticksRiseFromTheBottomEdge) {
  for (long k = 0; k < 1024; ++k) p->fft.fft1mag[k] = 0.5L;
  i_truncate = 100;
  draw(2, p->fft.fft1mag);
  ASSERT_EQ(win.trace.size(), 601u);  // the first sample has a stick too
  for (std::size_t i = 0; i < 601; ++i) {
    EXPECT_TRUE(win.trace[i].x1 == win.trace[i].x2 && win.trace[i].y1 == 700);
    EXPECT_EQ(win.trace[i].y2, i < 100 ? 325 : 700) << i;  // truncated: no height
  }
  set.i_min = set.i_max = 50;  // one sample: one stick, and no line on a time plot
  draw(2, p->fft.fft1mag);
  EXPECT_EQ(win.trace.size(), 1u);
  draw(1, p->wf.y1a);
  EXPECT_TRUE(win.trace.empty());
}

TEST_F(Trace, ValuesBeyondTheAxisAreCutAtTheFrame) {
  for (long k = 0; k < 1024; ++k) p->wf.y1a[k] = k % 2 ? 1.0e4L : -1.0e4L;
  draw(1, p->wf.y1a);
  for (int x = 126; x < 875; ++x)
    EXPECT_EQ(win.lit_in_column(x, 0, 99) + win.lit_in_column(x, 703, 799), 0) << x;
  EXPECT_GE(win.lit_in_column(300, 101, 699) + win.lit_in_column(301, 101, 699), 599);
}

TEST(TracePixels, FindPixelAndTgAdjust) {
  EXPECT_EQ(find_pixel(1, 125, 875, 1.0f, 10.0f, 10.0f, 610.0f), 125);  // sample 1 at strt_val
  EXPECT_EQ(find_pixel(601, 125, 875, 1.0f, 10.0f, 10.0f, 610.0f), 875);
  EXPECT_EQ(find_pixel(301, 125, 875, 1.0f, 10.0f, 10.0f, 610.0f), 500);
  EXPECT_FLOAT_EQ(tg_adjust(3, 10, 170.0f, 1.0L, 0.01f), -154.0f);
  EXPECT_EQ(tg_adjust(2, 10, 170.0f, 1.0L, 0.01f), 170.0f);
  EXPECT_FLOAT_EQ(tg_adjust(3, 5, 350.0f, 1.0L, 0.0f), -10.0f);
}

}  // namespace
}  // namespace refx
