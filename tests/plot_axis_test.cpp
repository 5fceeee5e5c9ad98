// Axis layout, its rounding helpers, axis drawing and the shared drawing primitives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "plot/axis.h"
#include "plot/drawing.h"
#include "support/recording_plot_window.h"
#include "support/test_program.h"

namespace refx {
namespace {

const float kLn10 = 2.3025851f;  // the program's single-precision ln 10

PlotParams vertical(float lo, float hi) {
  PlotParams s;
  s.ymin = lo;
  s.ymax = hi;
  setup_vert_axis(s, kLn10);
  return s;
}

PlotParams horizontal(float lo, float hi) {
  PlotParams s;
  s.xmin = lo;
  s.xmax = hi;
  setup_horiz_axis(s, kLn10);
  return s;
}

TEST(PlotRounding, HalvesGoAwayFromZeroAndFracKeepsTheSign) {
  EXPECT_EQ(Round(2.5), 3);
  EXPECT_EQ(Round(-2.5), -3);
  EXPECT_EQ(Round(2.4999), 2);
  EXPECT_EQ(Round(-2.4999), -2);
  EXPECT_EQ(Round(0.0), 0);
  EXPECT_EQ(Round(699.5), 700);
  EXPECT_FLOAT_EQ(frac(-1.25f), -0.25f);
  EXPECT_FLOAT_EQ(frac(3.75f), 0.75f);
  EXPECT_EQ(frac(-2.0f), 0.0f);
  EXPECT_EQ(truncfi(-1.25f), -1);
  EXPECT_EQ(truncfi(1.99f), 1);
}

TEST(AxisLayout, MinusOneToOneNeedsAnEleventhDivision) {
  // 2 / 0.2f rounds to 10 in float, but ten float steps of 0.2 overshoot 2.0.
  const PlotParams s = vertical(-1.0f, 1.0f);
  EXPECT_EQ(s.n_v, 0);
  EXPECT_EQ(s.deltav_n, 0.2f);
  EXPECT_EQ(s.deltav, 0.2f);
  EXPECT_EQ(s.ndivv, 11);
  EXPECT_EQ(s.ymin_axis, -1.0f);
  EXPECT_FLOAT_EQ(s.ymax_axis, 1.2f);
}

TEST(AxisLayout, TenMicrosecondSamplesOf1024Points) {
  const PlotParams s = horizontal(0.0f, 0.01023f);
  EXPECT_EQ(s.n_h, -2);
  EXPECT_EQ(s.deltah_n, 0.2f);
  EXPECT_FLOAT_EQ(s.deltah, 0.002f);
  EXPECT_EQ(s.ndivh, 6);
  EXPECT_EQ(s.xmin_axis, 0.0f);
  EXPECT_FLOAT_EQ(s.xmax_axis, 0.012f);
}

TEST(AxisLayout, SinglePrecisionLn10PushesFiveHundredthsIntoTheTopBand) {
  const PlotParams s = horizontal(0.0f, 0.05f);
  EXPECT_EQ(s.n_h, -2);
  EXPECT_EQ(s.deltah_n, 1.0f);
  EXPECT_FLOAT_EQ(s.deltah, 0.01f);
  EXPECT_EQ(s.ndivh, 6);
  EXPECT_FLOAT_EQ(s.xmax_axis, 0.06f);
}

TEST(AxisLayout, AmplitudeDefaultRange) {
  const PlotParams s = vertical(-30.0f, 10.0f);
  EXPECT_EQ(s.n_v, 1);
  EXPECT_EQ(s.deltav_n, 0.5f);
  EXPECT_EQ(s.deltav, 5.0f);
  EXPECT_EQ(s.ndivv, 8);
  EXPECT_EQ(s.ymin_axis, -30.0f);
  EXPECT_EQ(s.ymax_axis, 10.0f);
}

TEST(AxisLayout, BandEdgesBelongToTheLowerBand) {
  EXPECT_EQ(vertical(0.0f, 5.0f).deltav_n, 0.5f);
  EXPECT_EQ(vertical(0.0f, 2.5f).deltav_n, 0.25f);
  EXPECT_EQ(vertical(0.0f, 2.0f).deltav_n, 0.2f);
  // Just above each edge the next band up applies.
  EXPECT_EQ(vertical(0.0f, 5.5f).deltav_n, 1.0f);
  EXPECT_EQ(vertical(0.0f, 3.0f).deltav_n, 0.5f);
  EXPECT_EQ(vertical(0.0f, 2.25f).deltav_n, 0.25f);
  EXPECT_EQ(vertical(0.0f, 1.5f).deltav_n, 0.2f);
  // The horizontal routine chooses the same way.
  EXPECT_EQ(horizontal(0.0f, 5.0f).deltah_n, 0.5f);
  EXPECT_EQ(horizontal(0.0f, 2.5f).deltah_n, 0.25f);
}

TEST(AxisLayout, AxisCoversTheRangeWithLessThanOneSpareStep) {
  for (float lo : {-7.3f, 0.0f, 12.5f}) {
    for (float span = 0.0013f; span < 3.0e5f; span *= 1.37f) {
      const float hi = lo + span;
      const PlotParams s = vertical(lo, hi);
      SCOPED_TRACE(std::to_string(lo) + " .. " + std::to_string(hi));
      const long double range = static_cast<long double>(hi) - lo;
      const long double step = s.deltav;
      EXPECT_GE(static_cast<long double>(s.ndivv) * step, range * (1 - 1e-6L));
      EXPECT_LT(static_cast<long double>(s.ndivv - 1) * step, range);
      const float m = s.deltav_n;
      EXPECT_TRUE(m == 1.0f || m == 0.5f || m == 0.25f || m == 0.2f);
      EXPECT_NEAR(s.deltav / m, std::pow(10.0, s.n_v), std::pow(10.0, s.n_v) * 1e-6);
      EXPECT_EQ(s.ymin_axis, lo);
      EXPECT_GE(s.ndivv, 4);
      EXPECT_LE(s.ndivv, 11);
    }
  }
}

TEST(AxisLayout, AnEmptyRangeKeepsTheLayout) {
  PlotParams s = vertical(-1.0f, 1.0f);
  s.ymin = s.ymax = 0.5f;
  setup_vert_axis(s, kLn10);
  EXPECT_EQ(s.ndivv, 11);
  EXPECT_EQ(s.ymin_axis, -1.0f);
  s.ymin = 2.0f;  // reversed
  setup_vert_axis(s, kLn10);
  EXPECT_EQ(s.ymin_axis, -1.0f);
  EXPECT_TRUE(std::isfinite(s.deltav));
}

PlotParams framed(PlotParams s) {
  s.minx = 125;
  s.maxx = 875;
  s.maxy = 100;
  s.miny = 700;
  return s;
}

TEST(AxisDrawing, FrameTicsAndLabelsOfATimePlot) {
  RecordingPlotWindow w;
  w.open();
  PlotParams s = horizontal(0.0f, 0.01023f);
  s.ymin = -1.0f;
  s.ymax = 1.0f;
  setup_vert_axis(s, kLn10);
  s = framed(s);
  draw_horiz_axis(w, s, 1, 2, 1);
  draw_vert_axis(w, s, 1, 2, 1);

  // The frame: every pixel of its four sides.
  for (int x = 125; x <= 875; ++x) {
    EXPECT_EQ(w.pixel(x, 100), 1) << x;
    EXPECT_EQ(w.pixel(x, 700), 1) << x;
  }
  EXPECT_EQ(w.lit_in_column(125, 100, 700), 601);
  EXPECT_EQ(w.lit_in_column(875, 100, 700), 601);
  EXPECT_EQ(w.pixel(500, 400), 0);

  // Five inner tics across the bottom edge, one every 125 pixels, 2 pixels each side.
  for (int i = 1; i < 6; ++i) {
    const int x = 125 + 125 * i;
    EXPECT_EQ(w.lit_in_column(x, 698, 702), 5) << x;
    EXPECT_EQ(w.pixel(x, 703), 0);
  }
  EXPECT_EQ(w.pixel(126 + 125, 702), 0);
  // Ten inner tics across the left edge, 600 / 11 pixels apart.
  for (int i = 1; i < 11; ++i) {
    const int y = static_cast<int>(std::floor(100 + i * (600.0 / 11) + 0.5));
    for (int x = 123; x <= 127; ++x) EXPECT_EQ(w.pixel(x, y), 1) << y;
    EXPECT_EQ(w.pixel(122, y), 0);
  }

  char lo[32], hi[32];
  std::snprintf(lo, sizeof lo, "%14e", 0.0);
  std::snprintf(hi, sizeof hi, "%14e", static_cast<double>(s.xmax_axis));
  ASSERT_EQ(std::string(lo).size(), 14u);
  const std::string h_label = "H: 2.000e-01 x 10^-2 sec";
  const std::string v_label = "V: 2.000e-01 x 10^0";
  bool saw_lo = false, saw_hi = false, saw_h = false, saw_v = false, saw_ymin = false,
       saw_ymax = false;
  for (const ShownText& t : w.texts()) {
    if (t.text == lo) saw_lo = t.x == 125 - 56 && t.y == 725;
    if (t.text == hi) saw_hi = t.x == 875 - 56 && t.y == 725;
    if (t.text == h_label) saw_h = t.x == 500 - 8 * 24 / 2 && t.y == 725;
    if (t.text == v_label) saw_v = t.x == 500 - 8 * 19 / 2 && t.y == 100 - 13;
    if (t.text == "-1.0000") saw_ymin = t.x == 125 - 56 - 5 && t.y == 704;
    if (t.text == "1.2000") saw_ymax = t.x == 125 - 48 - 5 && t.y == 104;
  }
  EXPECT_TRUE(saw_lo);
  EXPECT_TRUE(saw_hi);
  EXPECT_TRUE(saw_h);
  EXPECT_TRUE(saw_v);
  EXPECT_TRUE(saw_ymin);
  EXPECT_TRUE(saw_ymax);
}

TEST(AxisDrawing, UnitsFollowThePlotKind) {
  for (int mode : {2, 3}) {
    RecordingPlotWindow w;
    w.open();
    PlotParams s = horizontal(0.0f, 512.0f);
    s.ymin = -30.0f;
    s.ymax = 10.0f;
    setup_vert_axis(s, kLn10);
    s = framed(s);
    draw_horiz_axis(w, s, mode, 2, 1);
    draw_vert_axis(w, s, mode, 2, 1);
    EXPECT_TRUE(w.shows_text("H: 1.000e+00 x 10^2 Hz"));
    EXPECT_TRUE(w.shows_text(mode == 2 ? "V: 5.000e-01 x 10^1 dB" : "V: 5.000e-01 x 10^1 deg"));
  }
}

TEST(DrawingPrimitives, TextWidthCountsAtMostMaxLengthCharacters) {
  RecordingPlotWindow w;
  EXPECT_EQ(textwidth(w, 50, std::string(60, 'x')), 400);
  EXPECT_EQ(textwidth(w, 50, ""), 0);
  EXPECT_EQ(textwidth(w, 100, "abc"), 24);
  RecordingPlotWindow wide(1000, 800, 7);
  EXPECT_EQ(textwidth(wide, 2, "abc"), 14);
}

TEST(DrawingPrimitives, DottedLineDrawsTwoOfEverySixPixelsThenTheEnd) {
  RecordingPlotWindow w;
  w.open();
  dotted_line(w, 500, 100, 500, 200, 1);
  for (int y = 100; y <= 200; ++y) {
    const bool lit = (y - 100) % 6 <= 2 || y == 200;
    EXPECT_EQ(w.pixel(500, y) != 0, lit) << y;
  }
  EXPECT_EQ(w.pixel(500, 99), 0);
  EXPECT_EQ(w.pixel(500, 201), 0);
  EXPECT_EQ(w.lit_in_column(499, 0, 799) + w.lit_in_column(501, 0, 799), 0);
}

TEST(DrawingPrimitives, DegenerateDottedLines) {
  RecordingPlotWindow w;
  w.open();
  const std::size_t before = w.calls().size();
  dotted_line(w, 300, 300, 300, 300, 1);
  EXPECT_EQ(w.calls().size(), before);  // nothing drawn at all

  // Ends that run backwards fail the first step: one solid line.
  dotted_line(w, 400, 500, 400, 300, 1);
  ASSERT_EQ(w.calls().size(), before + 1);
  EXPECT_EQ(w.calls().back(), "line 400 500 400 300 1");
  EXPECT_EQ(w.lit_in_column(400, 300, 500), 201);
}

TEST(DrawingPrimitives, RectangleOutlinesOnly) {
  RecordingPlotWindow w;
  w.open();
  Rectangle(w, 10, 20, 30, 60, 4);
  EXPECT_EQ(w.lit_in_column(10, 20, 60), 41);
  EXPECT_EQ(w.lit_in_column(30, 20, 60), 41);
  EXPECT_EQ(w.lit_in_column(20, 0, 799), 2);
  EXPECT_EQ(w.pixel(20, 20), 4);
  EXPECT_EQ(w.pixel(20, 60), 4);
}

}  // namespace
}  // namespace refx
