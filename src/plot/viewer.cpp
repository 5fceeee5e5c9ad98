#include "plot/viewer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "console/console.h"
#include "console/console_io.h"
#include "core/program.h"
#include "plot/axis.h"
#include "plot/drawing.h"
#include "plot/trace.h"

namespace refx {

namespace {

int upper(int code) {
  return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
}

// One call of plot_results: the job, the loop's own state and the read-outs' last widths.
struct Viewer {
  PlotJob job;
  int init_graph = 0;
  long loc_curs[2] = {0, 0};
  int selct_curs = 1;
  int curs_app[2] = {0, 1};
  long accel_mode = 0;
  int readout_width[2] = {0, 0};  // of the text each read-out shows now
  bool closing = false;           // the window manager asked for the window to close

  PlotParams& s() const { return job.set; }
  PlotWindow& w() const { return job.window; }

  void redraw() {
    plot(init_graph, job);
    readout_width[0] = readout_width[1] = 0;  // the window was cleared
  }

  long column(long ix) const {
    return find_pixel(ix, s().minx, s().maxx, job.delta, s().strt_val, s().xmin_axis,
                      s().xmax_axis);
  }

  void draw_cursor_vert(long ix, bool dotted, int id) {
    const int x = static_cast<int>(column(ix));
    w().save_column(id, x, s().maxy, s().miny - s().maxy + 1);
    if (dotted)
      dotted_line(w(), x, s().maxy, x, s().miny, job.colour);
    else
      w().line(x, s().maxy, x, s().miny, job.colour);
    w().show_update();
  }

  void erase_cursor_vert(long ix, int id) {
    w().restore_column(id, static_cast<int>(column(ix)), s().maxy, s().miny - s().maxy + 1);
    w().show_update();
  }

  // Read-out 1 (also the truncation marker's) starts at minx / 2; read-out 2 ends at
  // maxx + minx / 2. Only the previous text of the same read-out is cleared.
  void display_value(int id, long loc) {
    const int mode = job.p.plot.plot_mode;
    const float value = tg_adjust(mode, loc - 1, static_cast<float>(job.plot_array[loc - 1]),
                                  job.p.fft.deltaf, job.p.fft.Tg);
    const float x_value =
        static_cast<float>(static_cast<long double>(loc - 1) * job.delta + s().strt_val);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%ld:%12e:%12e", loc, static_cast<double>(x_value),
                  static_cast<double>(value));
    const std::string text = buf;

    const int ch = w().char_height();
    const int tic = job.p.plot.tic_offset;
    const bool windows = job.p.build->windows;
    const int baseline = windows ? s().maxy - 3 * ch - 2 * tic - 1 : s().maxy - 3 * ch - tic;
    const int width = textwidth(w(), 200, text);
    const int band = std::max(width, readout_width[id - 1]);
    const int right_end = s().maxx + s().minx / 2;
    const int x = id == 1 ? s().minx / 2 : right_end - width;
    const int band_x = id == 1 ? x : right_end - band;
    if (windows)
      w().clear_band(band_x, baseline - ch - 1, band, 2 * ch + 2);
    else
      w().clear_band(band_x, baseline - ch - 1, band, ch + 2);
    w().text(x, baseline, text);
    readout_width[id - 1] = width;
    w().show_update();
  }

  long step() const { return accel_mode == 0 ? 1 : accel_mode; }

  // A and B: the accelerator runs 10, 100, 1000, 10000 and back down. (A bound of 999
  // would stop it at 1000; the largest step is 10000.)
  bool accelerator_key(int key) {
    if (key == 'A') {
      if (accel_mode == 0)
        accel_mode = 10;
      else if (accel_mode <= 1000)
        accel_mode *= 10;
      return true;
    }
    if (key == 'B') {
      accel_mode /= 10;
      return true;
    }
    return false;
  }

  // Waits for a key press. Other events (exposures) repaint with `repaint` and go on waiting,
  // so they never act as the key read last. A close request leaves the mode as Q does, and
  // the viewer after it.
  template <typename Repaint>
  int next_key(Repaint repaint) {
    for (;;) {
      const PlotEvent ev = w().next_event();
      if (ev.close_request) {
        closing = true;
        return 'Q';
      }
      if (ev.is_key) return ev.code;
      repaint();
    }
  }

  void draw_both_cursors() {
    draw_cursor_vert(loc_curs[0], curs_app[0] == 1, 1);
    draw_cursor_vert(loc_curs[1], curs_app[1] == 1, 2);
    display_value(1, loc_curs[0]);
    display_value(2, loc_curs[1]);
  }

  void set_range(long i_min, long i_max) {
    s().i_min = i_min;
    s().i_max = i_max;
    s().xmin = static_cast<float>(static_cast<long double>(i_min - 1) * job.delta + s().strt_val);
    s().xmax = static_cast<float>(static_cast<long double>(i_max - 1) * job.delta + s().strt_val);
    setup_horiz_axis(s(), job.p.ln_10);
    setup_vert_axis(s(), job.p.ln_10);
  }

  void two_cursor_mode() {
    accel_mode = 0;
    loc_curs[0] = s().i_min;
    loc_curs[1] = s().i_max;
    curs_app[0] = 0;
    curs_app[1] = 1;
    draw_both_cursors();
    selct_curs = 1;

    const int left = w().cursor_left_code(), right = w().cursor_right_code();
    for (bool quit_curs = false; !quit_curs;) {
      const int code = next_key([this] {
        redraw();
        draw_both_cursors();
      });
      const int key = upper(code);
      if (accelerator_key(key)) continue;
      if (key == 'D') {
        erase_cursor_vert(loc_curs[0], 1);
        erase_cursor_vert(loc_curs[1], 2);
        set_range(1, job.p.plot.plot_mode > 1 ? s().npts / 2 + 1 : s().npts);
        redraw();
        loc_curs[0] = s().i_min;
        loc_curs[1] = s().i_max;
        draw_both_cursors();
      } else if (key == 'T') {
        selct_curs = selct_curs == 1 ? 2 : 1;
        curs_app[0] = selct_curs == 1 ? 0 : 1;
        curs_app[1] = selct_curs == 1 ? 1 : 0;
        erase_cursor_vert(loc_curs[0], 1);
        draw_cursor_vert(loc_curs[0], curs_app[0] == 1, 1);
        erase_cursor_vert(loc_curs[1], 2);
        draw_cursor_vert(loc_curs[1], curs_app[1] == 1, 2);
      } else if (code == left || code == right) {
        const int i = selct_curs - 1;
        erase_cursor_vert(loc_curs[i], selct_curs);
        if (code == left)
          loc_curs[i] = std::max(loc_curs[i] - step(), s().i_min);
        else
          loc_curs[i] = std::min(loc_curs[i] + step(), s().i_max);
        draw_cursor_vert(loc_curs[i], curs_app[i] == 1, selct_curs);
        display_value(selct_curs, loc_curs[i]);
      } else if (key == 'Q') {
        quit_curs = true;
      }
    }

    // Zoom to the span between the cursors. Both on one sample would leave no range to
    // scale: keep the range shown.
    const long lo = std::min(loc_curs[0], loc_curs[1]);
    const long hi = std::max(loc_curs[0], loc_curs[1]);
    if (lo < hi) set_range(lo, hi);
    erase_cursor_vert(loc_curs[0], 1);
    erase_cursor_vert(loc_curs[1], 2);
    redraw();
  }

  void truncation_mode() {
    long& i_truncate = job.i_truncate;
    if (i_truncate > s().i_max) i_truncate = s().i_max;
    if (i_truncate < 1) i_truncate = s().i_min;  // no sample 0 to show or mark
    accel_mode = 0;
    redraw();
    draw_cursor_vert(i_truncate, false, 1);
    display_value(1, i_truncate);

    const int left = w().cursor_left_code(), right = w().cursor_right_code();
    for (bool quit_trnc = false; !quit_trnc;) {
      const int code = next_key([&] {
        redraw();
        draw_cursor_vert(i_truncate, false, 1);
        display_value(1, i_truncate);
      });
      const int key = upper(code);
      if (accelerator_key(key)) continue;
      if (key == 'Q') {
        quit_trnc = true;
      } else if (key == 'D' || code == left || code == right) {
        erase_cursor_vert(i_truncate, 1);
        if (key == 'D') {
          i_truncate = s().i_max;
        } else if (code == left) {
          i_truncate -= step();
          if (i_truncate < s().i_min) i_truncate = s().i_max;
        } else {
          i_truncate += step();
          if (i_truncate > s().i_max) i_truncate = s().i_min;
        }
        draw_cursor_vert(i_truncate, false, 1);
        display_value(1, i_truncate);
      }
    }
    erase_cursor_vert(i_truncate, 1);
  }
};

}  // namespace

void plot_results(Program& p, PlotParams& set, long& i_truncate, float delta,
                  const Samples& plot_array, int colour) {
  if (p.plot_window == nullptr) return;
  Viewer v{PlotJob{p, *p.plot_window, set, i_truncate, delta, plot_array, colour}};
  for (bool quit_pr = false; !quit_pr && !v.closing;) {
    v.redraw();
    const PlotEvent ev = v.w().next_event();
    if (ev.close_request) break;
    if (!ev.is_key) continue;  // an exposure: the next pass repaints
    const int key = upper(ev.code);
    if (key == 'Q')
      quit_pr = true;
    else if (key == 'C')
      v.two_cursor_mode();
    else if (key == 'T')
      v.truncation_mode();
  }
}

void graphics_window_end(Program& p) {
  if (p.plot_window != nullptr && p.plot_window->is_open()) p.plot_window->close();
  p.plot.graphics_window_created = 0;
}

void view_plot(Program& p, Console& con, PlotParams& set, long& i_truncate, float delta,
               const Samples& plot_array, int colour) {
  try {
    plot_results(p, set, i_truncate, delta, plot_array, colour);
  } catch (const PlotWindowUnavailable& failure) {
    graphics_window_end(p);
    con.print(failure.message);
    pause(p, con);
    return;
  }
  graphics_window_end(p);
  con.drop_typed_ahead();
}

}  // namespace refx
