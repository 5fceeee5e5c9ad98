// The interactive viewer's keys against the recording plot window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "plot/trace.h"
#include "plot/viewer.h"
#include "support/recording_plot_window.h"
#include "support/test_program.h"

namespace refx {
namespace {

struct ViewerBench {
  std::unique_ptr<Program> p;
  RecordingPlotWindow win;

  explicit ViewerBench(long n = 1024) : p(started_program(1000.0L, n)) {
    p->plot_window = &win;
    for (long k = 0; k < n; ++k) p->wf.y1a[k] = (k % 50) / 50.0L - 0.5L;
  }

  // A time plot of waveform 1, as the time waveforms menu runs it.
  void time_plot(const std::string& keys) {
    win.type(keys);
    p->plot.plot_mode = 1;
    p->plot.deltat_float = p->deltat;
    plot_results(*p, p->plot.t, p->wf.i_truncatet1, p->plot.deltat_float, p->wf.y1a, 1);
    graphics_window_end(*p);
  }

  std::string readout(long loc, float delta, float value) const {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%ld:%12e:%12e", loc,
                  static_cast<double>(static_cast<float>((loc - 1) * static_cast<double>(delta))),
                  static_cast<double>(value));
    return buf;
  }
  std::string time_readout(long loc) const {
    return readout(loc, p->deltat, static_cast<float>(p->wf.y1a[loc - 1]));
  }
  long clears() const { return std::count(win.calls().begin(), win.calls().end(), "clear"); }
};

float time_x(const Program& p, long k) {
  return static_cast<float>(static_cast<long double>(k - 1) * p.deltat);
}

TEST(Viewer, QuitReturnsAndTheMenuClosesTheWindow) {
  ViewerBench b;
  b.time_plot("q");
  EXPECT_EQ(b.win.opens(), 1);
  EXPECT_EQ(b.win.closes(), 1);
  EXPECT_EQ(b.p->plot.graphics_window_created, 0);
  EXPECT_EQ(b.win.events_left(), 0u);
  EXPECT_EQ(b.p->plot.t.i_min, 1);
  EXPECT_EQ(b.p->plot.t.i_max, 1024);
  EXPECT_EQ(b.win.trace().size(), 1023u);
}

TEST(Viewer, NoPlotWindowMeansNothingToDo) {
  auto p = started_program(1000.0L, 1024);
  plot_results(*p, p->plot.t, p->wf.i_truncatet1, p->deltat, p->wf.y1a, 1);
  graphics_window_end(*p);
  EXPECT_EQ(p->plot.graphics_window_created, 0);
}

TEST(ViewerCursors, LeavingUnmovedKeepsTheRange) {
  ViewerBench b;
  const float xmax = b.p->plot.t.xmax;
  b.time_plot("cqq");
  EXPECT_EQ(b.p->plot.t.i_min, 1);
  EXPECT_EQ(b.p->plot.t.i_max, 1024);
  EXPECT_EQ(b.p->plot.t.xmin, 0.0f);
  EXPECT_EQ(b.p->plot.t.xmax, xmax);
}

TEST(ViewerCursors, ZoomToTheSpanOfTheCursors) {
  ViewerBench b;
  // Cursor 1 up 300 (accelerator 100), cursor 2 down 3 one by one (accelerator back to 0).
  b.time_plot("caa>>>tbb<<<qq");
  const PlotParams& t = b.p->plot.t;
  EXPECT_EQ(t.i_min, 301);
  EXPECT_EQ(t.i_max, 1021);
  EXPECT_EQ(t.xmin, time_x(*b.p, 301));
  EXPECT_EQ(t.xmax, time_x(*b.p, 1021));
  EXPECT_EQ(t.xmin_axis, t.xmin);  // laid out again from the new range
  EXPECT_GE(t.xmax_axis, t.xmax);
  EXPECT_EQ(b.win.trace().size(), 720u);
}

TEST(ViewerCursors, CursorTwoLeftOfCursorOneGivesTheSameSpan) {
  ViewerBench b;
  b.time_plot("caa>>>ta<qq");  // cursor 1 at 301, cursor 2 at 24
  EXPECT_EQ(b.p->plot.t.i_min, 24);
  EXPECT_EQ(b.p->plot.t.i_max, 301);
}

TEST(ViewerCursors, CursorsStopAtTheRangeEnds) {
  ViewerBench b;
  b.time_plot("caa>qq");  // zoom to 101..1024 first
  ASSERT_EQ(b.p->plot.t.i_min, 101);
  // Cursor 1 up 30, then down 100 and down again: it stays at i_min. Cursor 2 up: stays.
  b.win.type("c" + std::string(30, '>') + "aa<<");
  b.win.type("t>");
  b.win.type("q");
  b.win.type("q");
  b.p->plot.plot_mode = 1;
  plot_results(*b.p, b.p->plot.t, b.p->wf.i_truncatet1, b.p->deltat, b.p->wf.y1a, 1);
  EXPECT_EQ(b.p->plot.t.i_min, 101);
  EXPECT_EQ(b.p->plot.t.i_max, 1024);
}

TEST(ViewerCursors, ReadOutsFollowTheMovedCursor) {
  ViewerBench b;
  b.win.type("c>>");
  b.p->plot.plot_mode = 1;
  try {
    plot_results(*b.p, b.p->plot.t, b.p->wf.i_truncatet1, b.p->deltat, b.p->wf.y1a, 1);
  } catch (const PlotScriptExhausted&) {
  }
  EXPECT_TRUE(b.win.shows_text(b.time_readout(3)));
  EXPECT_TRUE(b.win.shows_text(b.time_readout(1024)));
  EXPECT_FALSE(b.win.shows_text(b.time_readout(2)));  // the old text was cleared
  EXPECT_FALSE(b.win.shows_text(b.time_readout(1)));
  // Read-out 1 starts at minx / 2, read-out 2 ends at maxx + minx / 2, both at maxy - 26.
  for (const ShownText& t : b.win.texts()) {
    if (t.text == b.time_readout(3)) {
      EXPECT_EQ(t.x, 62);
      EXPECT_EQ(t.y, 74);
    }
    if (t.text == b.time_readout(1024)) {
      EXPECT_EQ(t.x + 8 * static_cast<int>(t.text.size()), 937);
      EXPECT_EQ(t.y, 74);
    }
  }
}

TEST(ViewerCursors, WindowsReadOutsSitHigherAndClearATallerBand) {
  auto p = started_program(1000.0L, 1024, kWindowsBuild);
  RecordingPlotWindow win;
  p->plot_window = &win;
  win.type("c>");
  p->plot.plot_mode = 1;
  try {
    plot_results(*p, p->plot.t, p->wf.i_truncatet1, p->deltat, p->wf.y1a, 1);
  } catch (const PlotScriptExhausted&) {
  }
  int readouts = 0;
  for (const ShownText& t : win.texts()) {
    if (t.text.rfind("2:", 0) == 0 || t.text.rfind("1024:", 0) == 0) {
      EXPECT_EQ(t.y, 100 - 3 * 8 - 2 * 2 - 1);
      ++readouts;
    }
  }
  EXPECT_EQ(readouts, 2);
  // The band before the second read-out 1 runs from a character above to one below.
  EXPECT_NE(std::find_if(win.calls().begin(), win.calls().end(),
                         [](const std::string& c) {
                           return c.rfind("clear_band 62 62 ", 0) == 0 && c.size() > 17 &&
                                  c.substr(c.rfind(' ')) == " 18";
                         }),
            win.calls().end());
}

TEST(ViewerCursors, ReadOutFormat) {
  ViewerBench b;
  b.p->wf.y1a[512] = -0.2345678L;
  b.win.type("caa>>>>>b>b>>");  // 1 + 500 + 10 + 2
  b.p->plot.plot_mode = 1;
  try {
    plot_results(*b.p, b.p->plot.t, b.p->wf.i_truncatet1, 0.00001f, b.p->wf.y1a, 1);
  } catch (const PlotScriptExhausted&) {
  }
  EXPECT_TRUE(b.win.shows_text("513:5.120000e-03:-2.345678e-01"));
}

TEST(ViewerCursors, AcceleratorTopsOutAtTenThousand) {
  ViewerBench b(16384);
  b.time_plot("ctaaaaa<qq");  // cursor 2 from 16384 down 10000
  EXPECT_EQ(b.p->plot.t.i_max, 6384);

  ViewerBench c(16384);
  c.time_plot("ctaaaaab<qq");  // B after five A: 1000
  EXPECT_EQ(c.p->plot.t.i_max, 15384);

  ViewerBench d(16384);
  d.time_plot("ctabb<qq");  // B below 10 gives 1, then 0 (step 1)
  EXPECT_EQ(d.p->plot.t.i_max, 16383);
}

TEST(ViewerCursors, CursorMotionDoesNotRedrawThePlot) {
  ViewerBench b;
  b.win.type("c<<>>t<<>>");
  b.p->plot.plot_mode = 1;
  try {
    plot_results(*b.p, b.p->plot.t, b.p->wf.i_truncatet1, b.p->deltat, b.p->wf.y1a, 1);
  } catch (const PlotScriptExhausted&) {
  }
  EXPECT_EQ(b.clears(), 1);
  EXPECT_EQ(b.win.pictures(), 1);
}

TEST(ViewerCursors, ErasedCursorsLeaveThePlotAsDrawn) {
  ViewerBench plain;
  plain.win.type("");
  plain.p->plot.plot_mode = 1;
  try {
    plot_results(*plain.p, plain.p->plot.t, plain.p->wf.i_truncatet1, plain.p->deltat,
                 plain.p->wf.y1a, 1);
  } catch (const PlotScriptExhausted&) {
  }
  ViewerBench b;
  b.win.type("caa>>b>>t<<");  // both cursors moved away from their first columns
  b.p->plot.plot_mode = 1;
  try {
    plot_results(*b.p, b.p->plot.t, b.p->wf.i_truncatet1, b.p->deltat, b.p->wf.y1a, 1);
  } catch (const PlotScriptExhausted&) {
  }
  const PlotParams& t = b.p->plot.t;
  const long x_end = find_pixel(1024, t.minx, t.maxx, b.p->deltat, 0, t.xmin_axis, t.xmax_axis);
  for (int y = t.maxy; y <= t.miny; ++y) {
    EXPECT_EQ(b.win.pixel(static_cast<int>(x_end), y), plain.win.pixel(static_cast<int>(x_end), y));
    EXPECT_EQ(b.win.pixel(400, y), plain.win.pixel(400, y));
  }
  // Cursor 2 (selected, solid) at 1004, cursor 1 (dotted) at 221, on a gentle slope: the
  // dots lie over the trace, three rows in every six from the top edge.
  const long x2 = find_pixel(1004, t.minx, t.maxx, b.p->deltat, 0, t.xmin_axis, t.xmax_axis);
  EXPECT_EQ(b.win.lit_in_column(static_cast<int>(x2), t.maxy, t.miny), t.miny - t.maxy + 1);
  const int x1 =
      static_cast<int>(find_pixel(221, t.minx, t.maxx, b.p->deltat, 0, t.xmin_axis, t.xmax_axis));
  for (int y = t.maxy; y <= t.miny; ++y) {
    const bool dot = (y - t.maxy) % 6 <= 2 || y == t.miny;
    EXPECT_EQ(b.win.pixel(x1, y) != 0, dot || plain.win.pixel(x1, y) != 0) << y;
  }
}

TEST(ViewerCursors, ResetOnAnAmplitudePlotShowsHalfTheBins) {
  ViewerBench b;
  PlotParams& a = b.p->plot.a;
  ASSERT_EQ(a.npts, 1024);
  for (long k = 0; k < 1024; ++k) b.p->fft.fft1mag[k] = -10.0L;
  b.p->plot.plot_mode = 2;
  b.p->plot.deltaf_float = static_cast<float>(b.p->fft.deltaf);
  b.win.type("caa>q");  // zoom in first
  b.win.type("cdqq");
  plot_results(*b.p, a, a.i_truncate, b.p->plot.deltaf_float, b.p->fft.fft1mag, 1);
  EXPECT_EQ(a.i_min, 1);
  EXPECT_EQ(a.i_max, 513);
  EXPECT_EQ(a.xmin, a.strt_val);
  EXPECT_EQ(a.xmax, static_cast<float>(512 * static_cast<long double>(b.p->plot.deltaf_float) +
                                       a.strt_val));
}

TEST(ViewerCursors, BothCursorsOnOneSampleKeepThePreviousRange) {
  ViewerBench b;
  const PlotParams before = b.p->plot.t;
  b.time_plot("caaaa>qq");  // cursor 1 runs up onto cursor 2 at 1024
  const PlotParams& t = b.p->plot.t;
  EXPECT_EQ(t.i_min, 1);
  EXPECT_EQ(t.i_max, 1024);
  EXPECT_EQ(t.xmax, before.xmax);
  EXPECT_GT(t.xmax_axis, t.xmin_axis);
  EXPECT_EQ(b.win.trace().size(), 1023u);
}

TEST(ViewerCursors, ExposuresRepaintButAreNoKeys) {
  ViewerBench b;
  b.win.type("c>");
  b.win.push_exposure();  // would otherwise move cursor 1 again
  b.win.type("tq");
  b.win.push_exposure();  // would otherwise enter the cursor mode again
  b.win.type("q");
  b.time_plot("");
  EXPECT_EQ(b.p->plot.t.i_min, 2);
  EXPECT_EQ(b.win.events_left(), 0u);
  // First plot, repaint in the mode, on leaving it, the main loop's pass, the exposure.
  EXPECT_EQ(b.clears(), 5);
}

TEST(ViewerTruncation, MarkerWrapsAroundAtTheRangeEnds) {
  ViewerBench b;
  b.time_plot(
      "t>q"
      "q");
  EXPECT_EQ(b.p->wf.i_truncatet1, 1);  // from i_max up to i_min
  b.time_plot(
      "t<q"
      "q");
  EXPECT_EQ(b.p->wf.i_truncatet1, 1024);  // from i_min down to i_max
  b.time_plot(
      "taa<<<dq"
      "q");
  EXPECT_EQ(b.p->wf.i_truncatet1, 1024);  // D puts it back on i_max
  b.time_plot(
      "ta<<q"
      "q");
  EXPECT_EQ(b.p->wf.i_truncatet1, 1004);
}

TEST(ViewerTruncation, SamplesAfterTheMarkerArePlottedAtZero) {
  ViewerBench b;
  for (long k = 0; k < 1024; ++k) b.p->wf.y1a[k] = 0.75L;
  b.time_plot(
      "taa<q"
      "q");
  ASSERT_EQ(b.p->wf.i_truncatet1, 924);
  const auto& tr = b.win.trace();
  ASSERT_EQ(tr.size(), 1023u);
  const int y_value = tr.front().y1;
  const int y_zero = tr.back().y2;
  EXPECT_LT(y_value, y_zero);
  EXPECT_EQ(tr[921].y2, y_value);                                     // sample 923
  EXPECT_EQ(tr[922].y2, y_value);                                     // sample 924, the marker
  EXPECT_EQ(tr[923].y2, y_zero);                                      // sample 925
  EXPECT_EQ(y_zero, (b.p->plot.t.maxy + b.p->plot.t.miny) / 2 + 27);  // 0 on -1..1.2
}

TEST(ViewerTruncation, EnteringAboveTheRangeFirstLowersTheMarker) {
  ViewerBench b;
  b.time_plot("ctaaa<qtqq");  // zoom to 1..24, then truncation mode
  EXPECT_EQ(b.p->plot.t.i_max, 24);
  EXPECT_EQ(b.p->wf.i_truncatet1, 24);
}

TEST(ViewerTruncation, MarkerMotionDoesNotRedrawAndExposuresDoNotMoveIt) {
  ViewerBench b;
  b.win.type("t<");
  b.win.push_exposure();
  b.win.type(
      "<q"
      "q");
  b.time_plot("");
  EXPECT_EQ(b.p->wf.i_truncatet1, 1022);
  // First plot, entering the mode, the exposure, and the main loop after the mode.
  EXPECT_EQ(b.clears(), 4);
}

TEST(ViewerTruncation, PhaseReadOutsShowTheAdjustedPhase) {
  ViewerBench b;
  b.p->fft.deltaf = 1.0L;
  b.p->fft.Tg = 0.01f;
  for (long k = 0; k < 1024; ++k) b.p->fft.fft1ph[k] = 0.0L;
  b.p->fft.fft1ph[10] = 170.0L;
  b.p->plot.plot_mode = 3;
  b.win.type("c" + std::string(10, '>'));
  try {
    plot_results(*b.p, b.p->plot.p, b.p->plot.p.i_truncate, 1.0f, b.p->fft.fft1ph, 1);
  } catch (const PlotScriptExhausted&) {
  }
  EXPECT_TRUE(b.win.shows_text("11:1.000000e+01:-1.540000e+02"));
}

}  // namespace
}  // namespace refx
