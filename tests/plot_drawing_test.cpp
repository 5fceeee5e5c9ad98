// Axis layout and drawing, the drawing primitives, and the trace of one plot.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "plot/axis.h"
#include "plot/drawing.h"
#include "plot/trace.h"
#include "support/recording_plot_window.h"
#include "support/test_program.h"

namespace refx {
namespace {

const float kLn10 = 2.3025851f;  // the program's single-precision ln 10

// Samples 1 .. i_max of 1024 shown on the given range.
PlotParams ranged(float xmin, float xmax, float ymin, float ymax, long i_max = 601) {
  PlotParams s;
  s.xmin = xmin, s.xmax = xmax, s.ymin = ymin, s.ymax = ymax;
  s.i_min = 1, s.i_max = i_max, s.npts = 1024;
  return s;
}
PlotParams laid_out(float xmin, float xmax, float ymin, float ymax) {
  PlotParams s = ranged(xmin, xmax, ymin, ymax);
  setup_horiz_axis(s, kLn10);
  setup_vert_axis(s, kLn10);
  s.minx = 125, s.maxx = 875, s.maxy = 100, s.miny = 700;
  return s;
}

TEST(PlotPrimitives, RoundingPixelsPhaseAndDottedLines) {
  for (auto [x, r] : {std::pair{2.5, 3L}, {-2.5, -3L}, {2.4999, 2L}, {-2.4999, -2L}, {699.5, 700L}})
    EXPECT_EQ(Round(x), r) << x;  // halves go away from zero
  for (auto [i, px] : {std::pair{1L, 125L}, {601L, 875L}, {301L, 500L}})  // sample 1 at strt_val
    EXPECT_EQ(find_pixel(i, 125, 875, 1.0f, 10.0f, 10.0f, 610.0f), px) << i;
  EXPECT_FLOAT_EQ(tg_adjust(3, 10, 170.0f, 1.0L, 0.01f), -154.0f);  // phase plots only
  EXPECT_TRUE(tg_adjust(2, 10, 170.0f, 1.0L, 0.01f) == 170.0f);
  EXPECT_NEAR(tg_adjust(3, 5, 350.0f, 1.0L, 0.0f), -10.0f, 1e-4);

  RecordingPlotWindow w;
  EXPECT_TRUE(textwidth(w, 50, std::string(60, 'x')) == 400 && textwidth(w, 50, "") == 0);
  dotted_line(w, 300, 300, 300, 300, 1);
  EXPECT_EQ(w.line_calls, 0);             // equal ends draw nothing at all
  dotted_line(w, 500, 100, 500, 200, 1);  // a 2-pixel dash every 6, then a last piece
  for (int y = 99; y <= 201; ++y)
    EXPECT_EQ(w.pixel(500, y) != 0, y >= 100 && y <= 200 && ((y - 100) % 6 <= 2 || y == 200)) << y;
  w.line_calls = 0;
  dotted_line(w, 400, 500, 400, 300, 1);  // running backwards: one solid line
  EXPECT_TRUE(w.line_calls == 1 && w.lit_in_column(400, 300, 500) == 201);
}

// Each range laid out on both axes: exponent, step mantissa, divisions, axis end.
TEST(AxisLayout, RoundStepsForKnownRanges) {
  const struct { float lo, hi; int n; float mantissa; int ndiv; float end; } cases[] = {
      {-1, 1, 0, 0.2f, 11, 1.2f},  // ten float steps of 0.2 overshoot 2.0: an eleventh
      {0, 0.01023f, -2, 0.2f, 6, 0.012f},
      {0, 0.05f, -2, 1, 6, 0.06f},  // the single-precision ln 10 lifts it into the top band
      {-30, 10, 1, 0.5f, 8, 10},
      {0, 5, 0, 0.5f, 10, 5},  // band edges belong to the lower band
      {0, 2.5f, 0, 0.25f, 10, 2.5f},
      {0, 2, 0, 0.2f, 11, 2.2f},
      {0, 5.5f, 0, 1, 6, 6},  // just above an edge the next band up applies
  };
  for (const auto& c : cases) {
    const PlotParams s = laid_out(c.lo, c.hi, c.lo, c.hi);
    SCOPED_TRACE(std::to_string(c.lo) + " .. " + std::to_string(c.hi));
    EXPECT_EQ(std::tie(s.n_h, s.deltah_n, s.ndivh, s.xmin_axis),
              std::tie(c.n, c.mantissa, c.ndiv, c.lo));
    EXPECT_NEAR(s.deltah, c.mantissa * std::pow(10.0, c.n), 1e-6 * std::pow(10.0, c.n));
    EXPECT_FLOAT_EQ(s.xmax_axis, c.end);
    EXPECT_EQ(std::tie(s.n_v, s.deltav, s.ndivv, s.ymax_axis),
              std::tie(c.n, s.deltah, c.ndiv, s.xmax_axis));
  }
  PlotParams s = laid_out(-1, 1, -1, 1);
  s.ymin = s.ymax = 0.5f;  // no range: the layout stays
  setup_vert_axis(s, kLn10);
  EXPECT_TRUE(s.ndivv == 11 && s.ymin_axis == -1.0f);
}

TEST(AxisDrawing, FrameTicsAndLabels) {
  const char* units[][2] = {{" sec", ""}, {" Hz", " dB"}, {" Hz", " deg"}};
  const PlotParams s = laid_out(0, 0.01023f, -1, 1);
  for (int mode : {1, 2, 3}) {
    RecordingPlotWindow w;
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
    const std::string h = std::string("H: 2.000e-01 x 10^-2") + units[mode - 1][0];
    const std::string v = std::string("V: 2.000e-01 x 10^0") + units[mode - 1][1];
    EXPECT_TRUE(w.shows(h, 500 - 4 * int(size(h)), 725) && w.shows(v, 500 - 4 * int(size(v)), 87));
    EXPECT_TRUE(w.shows("  0.000000e+00", 125 - 56, 725) && w.shows("  1.200000e-02", 819, 725));
    EXPECT_TRUE(w.shows("-1.0000", 125 - 56 - 5, 704) && w.shows("1.2000", 125 - 48 - 5, 104));
  }
}

// x 0..600 in 6 steps of 100 (1.25 pixels per sample at delta 1), y -2..2 in 8 steps of 0.5
// (150 pixels per unit, value v on row 400 - 150 v).
TEST(Trace, SamplesSitOnTheirPixelsSticksRiseAndTruncatedOnesAreZero) {
  std::unique_ptr<Program> p = started_program(1000.0L, 1024);
  RecordingPlotWindow win;
  PlotParams set = ranged(0, 600, -2, 2);
  long i_truncate = 601;
  int init_graph = 0;  // as the menus keep it
  const auto draw = [&](int mode, const Samples& values) {
    p->plot.plot_mode = mode;
    plot(init_graph, PlotJob{*p, win, set, i_truncate, 1.0f, values, 1});
  };
  for (long k = 0; k < 1024; ++k) p->wf.y1a[k] = std::sin(k * 0.05L) * 1.5L;
  draw(1, p->wf.y1a);  // the first plot opens the window and lays out the axes
  EXPECT_TRUE(win.opens == 1 && p->plot.graphics_window_created == 1 && init_graph == 1);
  EXPECT_TRUE(set.minx == 125 && set.miny == 700 && set.ndivh == 6 && set.ndivv == 8);
  EXPECT_EQ(win.clip[2], 1000);  // unclipped at the end, so cursors can be put back anywhere
  ASSERT_EQ(win.trace.size(), 600u);
  for (long k = 2; k <= 601; ++k) {
    EXPECT_NEAR(win.trace[k - 2].x2, find_pixel(k, 125, 875, 1.0f, 0, 0, 600), 1) << k;
    EXPECT_NEAR(win.trace[k - 2].y2, 400 - 150 * static_cast<double>(p->wf.y1a[k - 1]), 1) << k;
  }
  for (long k = 0; k < 1024; ++k) p->wf.y1a[k] = 1, p->fft.fft1mag[k] = 0.5L;
  set.ymax = 7;  // later plots keep the layout
  for (long trunc : {200L, 0L}) {  // below i_min only the first point keeps its value
    i_truncate = trunc;
    draw(1, p->wf.y1a);
    EXPECT_EQ(win.trace[0].y1, 250);
    for (std::size_t i = 0; i < win.trace.size(); ++i)
      EXPECT_EQ(win.trace[i].y2, long(i) + 2 <= trunc ? 250 : 400) << i;
  }
  EXPECT_TRUE(set.ymax_axis == 2.0f && win.opens == 1 && win.pictures == 3);
  i_truncate = 100;
  draw(2, p->fft.fft1mag);
  ASSERT_EQ(win.trace.size(), 601u);  // the first sample has a stick too
  for (const PlotSegment& s : win.trace)  // truncated ones have no height
    EXPECT_TRUE(s.x1 == s.x2 && s.y1 == 700 && s.y2 == (&s - &win.trace[0] < 100 ? 325 : 700));
  for (long k = 0; k < 1024; ++k) p->wf.y1a[k] = k % 2 ? 1.0e4L : -1.0e4L;
  i_truncate = 601;
  draw(1, p->wf.y1a);  // values beyond the axis are cut at the frame
  for (int x = 126; x < 875; ++x)
    EXPECT_EQ(win.lit_in_column(x, 0, 99) + win.lit_in_column(x, 703, 799), 0) << x;
  EXPECT_GE(win.lit_in_column(300, 101, 699) + win.lit_in_column(301, 101, 699), 599);
  set.i_min = set.i_max = 50;  // one sample: one stick, and no line on a time plot
  draw(2, p->fft.fft1mag);
  EXPECT_EQ(win.trace.size(), 1u);
  draw(1, p->wf.y1a);
  EXPECT_TRUE(win.trace.empty());
}

}  // namespace
}  // namespace refx
