#include "waveforms/time_menu.h"

#include <cctype>
#include <cmath>

#include "console/console_io.h"
#include "core/program.h"
#include "plot/axis.h"
#include "plot/viewer.h"
#include "reflection/rrc_menu.h"
#include "waveforms/waveform_files.h"
#include "waveforms/window_functions.h"

namespace refx {

namespace {

void print_menu(Program& p, Console& con) {
  const TimeWaveforms& wf = p.wf;
  const bool truncated = wf.i_truncatet1 < wf.nptst || wf.i_truncatet2 < wf.nptst;
  con.clear();
  con.print("R to read time waveform(s) from disk\n");
  con.print("S to save time waveform(s) to disk\n");
  con.print("P to plot time waveforms\n");
  con.print("A to change vertical axis range for plots vs. time\n");
  con.print(truncated ? "T to subtract ***truncated*** time waveforms (y1 - y2 -> y1)\n"
                      : "T to subtract time waveforms (y1 - y2 -> y1)\n");
  con.print(truncated ? "U to add ***truncated*** time waveforms (y1 + y2 -> y1)\n"
                      : "U to add time waveforms (y1 + y2 -> y1)\n");
  con.print("W to set up window function");
  if (wf.window_type >= 1 && wf.window_type <= 5)
    con_printf(con, "%s%ld%s%ld%s", window_label(wf.window_type), wf.i_window_1 + 1, ",",
               wf.i_window_2 + 1, ")\n");
  else
    con.print("\n");
  if (wf.window_type > 0) con.print("Y to apply window function\n");
  con.print("L to remove reflections using a compression filter\n");
  con_printf(con, "%s%ld%s%ld%s", "I to shift time waveforms (", wf.i_shift_wf1, ",",
             wf.i_shift_wf2, ")\n");
  con_printf(con, "%s%Le%s%Le%s", "C to scale time waveforms (", wf.scale_wf1, ",", wf.scale_wf2,
             ")\n");
  con.print("Q to return to main menu\n");
  con.print("Enter Command :\n");
  con.refresh();
}

void scale_waveform(Program& p, Console& con) {
  con.print("Enter waveform number to be scaled, 1 or 2:\n");
  con.refresh();
  get_integer_in_range(con, &p.wf.i_wfm_scale, 1, 2, "Error - enter waveform number again\n");
  SlotRef slot = p.wf.slot(p.wf.i_wfm_scale);
  con_printf(con, "%s%d%s", "Enter scale factor for waveform ", slot.number, ":\n");
  con.refresh();
  // Text that does not convert leaves the cumulative factor in place, and it is then
  // applied as the factor.
  long double factor = slot.scale_wf;
  if (report_kept(p, con, get_long_double_within(con, &factor, kTypedValueLimit), kTypedValueLimit))
    return;
  // Checked before any sample changes: a product that overflows refuses the whole scaling.
  bool finite = std::isfinite(factor * slot.scale_wf);
  for (long i = 0; finite && i < p.wf.nptst; ++i)
    finite = std::isfinite(slot.y[static_cast<std::size_t>(i)] * factor);
  if (!finite) {
    con_printf(con, "%s%d%s", "Error - scaling gives values that are not finite numbers; waveform ",
               slot.number, " was not changed\n");
    pause(p, con);
    return;
  }
  slot.scale_wf_old = slot.scale_wf;
  for (long i = 0; i < p.wf.nptst; ++i) slot.y[static_cast<std::size_t>(i)] *= factor;
  slot.scale_wf = factor * slot.scale_wf_old;
}

void shift_waveform(Program& p, Console& con) {
  const long n = p.wf.nptst;
  int i_wfm_shift = 0;
  con.print("Enter waveform number to be shifted, 1 or 2:\n");
  con.refresh();
  get_integer_in_range(con, &i_wfm_shift, 1, 2, "Error - enter waveform number again\n");
  SlotRef slot = p.wf.slot(i_wfm_shift);

  con.print("Enter shift value (integer - positive to the right):\n");
  con.refresh();
  // Text that does not convert keeps the present shift: nothing moves.
  long i_shift_value = slot.i_shift_wf;
  get_long_int(con, &i_shift_value);
  while (i_shift_value < 1 - n || i_shift_value > n - 1) {
    con.print("Enter again - shift is too large\n");
    con.refresh();
    get_long_int(con, &i_shift_value);
  }

  // The value is absolute: move by its difference from the present shift, through the
  // transform scratch array.
  Samples& scratch = p.work.fftr;
  const long d = i_shift_value - slot.i_shift_wf;
  for (long r = 0; r < n; ++r)
    scratch[static_cast<std::size_t>(r)] = slot.y[static_cast<std::size_t>(r)];
  for (long r = 0; r < n; ++r) {
    long to = (r + d) % n;
    if (to < 0) to += n;
    slot.y[static_cast<std::size_t>(to)] = scratch[static_cast<std::size_t>(r)];
  }
  slot.i_shift_wf = i_shift_value;
  con_printf(con, "%s%d%s%ld%s", "Waveform ", slot.number, " has been shifted to ", i_shift_value,
             "\n");
  pause(p, con);
}

void set_time_axis_range(Program& p, Console& con) {
  con.print("Enter maximum vertical scale value:\n");
  con.refresh();
  report_kept(p, con, get_real_within(con, &p.plot.t.ymax, kPlotScaleLimit), kPlotScaleLimit);
  con.print("Enter minimum vertical scale value:\n");
  con.refresh();
  report_kept(p, con, get_real_within(con, &p.plot.t.ymin, kPlotScaleLimit), kPlotScaleLimit);
  p.plot.deltat_float = p.deltat;
  setup_vert_axis(p.plot.t, p.ln_10);
}

// One slot in the interactive viewer; the viewer may move the slot's truncation point.
void plot_time_waveform(Program& p, Console& con) {
  con.print("Enter waveform number, 1 or 2:\n");
  con.refresh();
  int i_plot = 1;
  get_integer(con, &i_plot);
  SlotRef slot = p.wf.slot(i_plot > 1 ? 2 : 1);
  p.plot.plot_mode = 1;
  p.plot.deltat_float = p.deltat;
  view_plot(p, con, p.plot.t, slot.i_truncatet, p.plot.deltat_float, slot.y, 1);
}

// y1 -/+ y2 -> y1, honouring both truncation points; formed in the transform scratch array
// and kept only when every value is finite.
void combine_waveforms(Program& p, Console& con, bool subtract) {
  TimeWaveforms& wf = p.wf;
  Samples& sum = p.work.fftr;
  for (long i = 0; i < wf.nptst; ++i) {
    const auto k = static_cast<std::size_t>(i);
    sum[k] = wf.y1a[k];
    if (i >= wf.i_truncatet1) sum[k] = 0.0L;
    if (i < wf.i_truncatet2) sum[k] = subtract ? sum[k] - wf.y2a[k] : sum[k] + wf.y2a[k];
    if (!std::isfinite(sum[k])) {
      con.print(
          "Error - result holds values that are not finite numbers; waveform 1 was not "
          "changed\n");
      pause(p, con);
      return;
    }
  }
  for (long i = 0; i < wf.nptst; ++i)
    wf.y1a[static_cast<std::size_t>(i)] = sum[static_cast<std::size_t>(i)];
  con.print(subtract ? "Waveforms have been subtracted\n" : "Waveforms have been added\n");
  pause(p, con);
}

void apply_window_command(Program& p, Console& con) {
  if (p.wf.window_type <= 0) return;
  const char* question = "Apply window to which time waveform (1 or 2)?\n";
  int i_window_apply = 0;
  con.print(question);
  con.refresh();
  get_integer(con, &i_window_apply);
  while (i_window_apply < 1 || i_window_apply > 2) {
    con.print("Error - enter integer again:\n");
    con.print(question);
    con.refresh();
    get_integer(con, &i_window_apply);
  }
  SlotRef slot = p.wf.slot(i_window_apply);
  // Windowed in the transform scratch array, kept only when every value is finite.
  Samples& scratch = p.work.fftr;
  scratch = slot.y;
  apply_window(p.wf, scratch);
  for (long i = 0; i < p.wf.nptst; ++i) {
    if (!std::isfinite(scratch[static_cast<std::size_t>(i)])) {
      con_printf(con, "%s%d%s",
                 "Error - result holds values that are not finite numbers; waveform ", slot.number,
                 " was not changed\n");
      pause(p, con);
      return;
    }
  }
  slot.y = scratch;
  con_printf(con, "%s%d%s", "Window has been applied to waveform ", slot.number, "\n");
  pause(p, con);
}

}  // namespace

void time_waveforms_menu(Program& p, Console& con) {
  for (;;) {
    print_menu(p, con);
    const int key = std::toupper(con.read_key() & 0xFF);
    switch (key) {
      case 'Q':
        return;
      case 'C':
        scale_waveform(p, con);
        break;
      case 'I':
        shift_waveform(p, con);
        break;
      case 'L':
        rrc_menu(p, con);
        break;
      case 'A':
        set_time_axis_range(p, con);
        break;
      case 'T':
        combine_waveforms(p, con, true);
        break;
      case 'U':
        combine_waveforms(p, con, false);
        break;
      case 'Y':
        apply_window_command(p, con);
        break;
      case 'W':
        window_menu(p, con);
        break;
      case 'P':
        plot_time_waveform(p, con);
        break;
      case 'R':
        readt_from_disk(p, con);
        break;
      case 'S':
        savet_to_disk(p, con);
        break;
      default:
        break;
    }
  }
}

}  // namespace refx
