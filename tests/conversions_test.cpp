// Conversions of computed values to integers are defined for every input: held to the
// target's range, NaN to a fixed value, and ordinary values rounded as always.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "plot/axis.h"
#include "plot/trace.h"
#include "reflection/filter_generation.h"
#include "spectral/fft_menu.h"
#include "support/recording_plot_window.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(Conversions, RoundingHoldsToTheRangeAndKeepsOrdinaryValues) {
  for (double x : {2.5, -2.5, 2.4999, -0.5, 0.49, 1e15 + 0.5}) {
    const long expected = static_cast<long>(x >= 0 ? std::floor(x + 0.5) : std::ceil(x - 0.5));
    EXPECT_EQ(Round(x), expected) << x;
    EXPECT_EQ(Round_long(x), expected) << x;
  }
  EXPECT_EQ(Round(1e30), LONG_MAX);
  EXPECT_EQ(Round(kInf), LONG_MAX);
  EXPECT_EQ(Round(-1e300), LONG_MIN);
  EXPECT_EQ(Round(kNan), 0);
  EXPECT_EQ(Round_long(1e4000L), LONG_MAX);
  EXPECT_EQ(Round_long(-1e19L), LONG_MIN);
  EXPECT_EQ(Round_long(std::numeric_limits<long double>::quiet_NaN()), 0);
  EXPECT_EQ(truncfi(3e10f), INT_MAX);
  EXPECT_EQ(truncfi(-3e10f), INT_MIN);
  EXPECT_EQ(truncfi(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(truncfi(-7.9f), -7);
}

TEST(Conversions, PixelsOfHugeValuesAreHeldOnTheirOwnSide) {
  EXPECT_EQ(to_pixel(1e30), static_cast<int>(kPixelHold));
  EXPECT_EQ(to_pixel(-kInf), -static_cast<int>(kPixelHold));
  EXPECT_EQ(to_pixel(kNan), static_cast<int>(kPixelHold));
  EXPECT_EQ(to_pixel(-417.5), -418);
  EXPECT_EQ(to_pixel(kPixelHold), static_cast<int>(kPixelHold));
  // The column of a sample on an axis of no width is held too.
  EXPECT_EQ(find_pixel(5, 125, 875, 1.0f, 0, 3, 3), static_cast<int>(kPixelHold));
}

// Value v on row 400 - 150 v (axis -2..2, rows 100..700): huge samples of either sign are cut
// at their own edge of the frame and nothing crosses to the other side.
TEST(Conversions, HugeSamplesAreCutAtTheirOwnEdge) {
  std::unique_ptr<Program> p = started_program(1000.0L, 1024);
  RecordingPlotWindow win;
  PlotParams set;
  set.xmin = 0, set.xmax = 600, set.ymin = -2, set.ymax = 2;
  set.i_min = 1, set.i_max = 601, set.npts = 1024;
  long i_truncate = 601;
  int init_graph = 0;
  p->plot.plot_mode = 1;
  const long double huge[] = {1e30L, -1e30L, 1e4000L, -1e4000L, 1e20L, -1e17L};
  for (std::size_t j = 0; j < 6; ++j) p->wf.y1a[90 * j + 130] = huge[j];  // off the tic columns
  plot(init_graph, PlotJob{*p, win, set, i_truncate, 1.0f, p->wf.y1a, 1});
  for (std::size_t j = 0; j < 6; ++j) {
    const int x = static_cast<int>(find_pixel(90 * static_cast<long>(j) + 131, 125, 875, 1.0f, 0,
                                              set.xmin_axis, set.xmax_axis));
    const bool up = huge[j] > 0;
    int near = 0, far = 0;  // lit pixels in the three columns around the sample
    for (int c = x - 1; c <= x + 1; ++c) {
      near += up ? win.lit_in_column(c, 101, 398) : win.lit_in_column(c, 402, 699);
      far += up ? win.lit_in_column(c, 402, 699) : win.lit_in_column(c, 101, 398);
    }
    EXPECT_GE(near, 298) << j;
    EXPECT_EQ(far, 0) << j;
  }
}

// Averaging over a huge octave fraction takes every bin up to the cut-off into one group.
TEST(Conversions, OneGroupWiderThanTheSpectrumAveragesEverything) {
  auto p = started_program(1024.0L, 1024);
  for (long i = 0; i < 1024; ++i) p->wf.y1a[i] = std::sin(i * 0.3L) + (i % 7) * 0.1L;
  p->fft.fft_mag_avg_mode = 2, p->fft.fft_mag_avg_mult = 1e30L;
  ScriptedConsole con("1q");
  fft_menu(*p, con);
  const long last = p->fft.npts_cutoff_avg - 1;
  ASSERT_GT(last, 100);
  for (long k = 2; k <= last; ++k) ASSERT_EQ(p->fft.fft1mag[k], p->fft.fft1mag[1]) << k;
}

// So does a group of the largest point count a long holds (an overflow of the bin number
// there shows in the sanitizer build).
TEST(Conversions, TheLargestPointCountAveragesEverything) {
  auto p = started_program(1024.0L, 1024);
  for (long i = 0; i < 1024; ++i) p->wf.y1a[i] = std::cos(i * 0.7L) + (i % 5) * 0.2L;
  ScriptedConsole con("v1\n" + std::to_string(LONG_MAX) + "\n1q");
  fft_menu(*p, con);
  ASSERT_EQ(p->fft.fft_mag_avg_npts, LONG_MAX);
  for (long k = 2; k < 1024; ++k) ASSERT_EQ(p->fft.fft1mag[k], p->fft.fft1mag[1]) << k;
}

}  // namespace
}  // namespace refx
