// Test-only program: plots a known time waveform through the viewer in a real X11 window,
// so the end-to-end test can look at the screen and type into the window. When the viewer
// returns it writes "i_min i_max i_truncate" of the time plot to the file named by argv[1].
// Usage: plot_driver RESULT_FILE [square|dense] [batched|per-line]
//   square: +1 for samples 1..512, -1 after, on -2..2; dense: a busy waveform on -1..1.
//   per-line draws the trace one line request per sample instead of in batches.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plot/axis.h"
#include "plot/plot_lin/xlib_plot_window.h"
#include "plot/viewer.h"
#include "shell/fatal.h"
#include "shell/program.h"
#include "shell/startup.h"
#include "support/line_by_line_window.h"

int main(int argc, char** argv) {
  const bool dense = argc > 2 && std::strcmp(argv[2], "dense") == 0;
  const bool per_line = argc > 3 && std::strcmp(argv[3], "per-line") == 0;
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: plot_driver RESULT_FILE [square|dense] [batched|per-line]\n");
    return 2;
  }
  auto program = refx::make_program();
  refx::Program& p = *program;
  refx::set_constants(p);
  p.sampling_rate = 1000.0L;
  p.delt = 1.0L / p.sampling_rate;
  p.num_meas_points = 1024;
  p.delf_minp = 1.0L / (p.num_meas_points * p.delt);
  p.maxx = 1000;
  p.maxy = 800;
  refx::derive_values(p);

  for (long k = 0; k < p.num_meas_points; ++k) {
    if (dense)
      p.wf.y1a[k] = 0.9L * std::sin(k * 0.013L) * std::cos(k * 0.71L) + 0.05L * std::sin(k * 2.9L);
    else
      p.wf.y1a[k] = k < 512 ? 1.0L : -1.0L;
  }
  if (!dense) {
    p.plot.t.ymin = -2.0f;
    p.plot.t.ymax = 2.0f;
    refx::setup_vert_axis(p.plot.t, p.ln_10);
  }

  refx::XlibPlotWindow window(p.maxx, p.maxy);
  refx::LineByLineWindow line_by_line(window);
  p.plot_window = per_line ? static_cast<refx::PlotWindow*>(&line_by_line) : &window;
  try {
    p.plot.plot_mode = 1;
    p.plot.deltat_float = p.deltat;
    refx::plot_results(p, p.plot.t, p.wf.i_truncatet1, p.plot.deltat_float, p.wf.y1a, 1);
    refx::graphics_window_end(p);
  } catch (const refx::ProgramExit& stop) {
    return stop.status;
  }

  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) return 3;
  std::fprintf(out, "%ld %ld %ld\n", p.plot.t.i_min, p.plot.t.i_max, p.wf.i_truncatet1);
  return std::fclose(out) == 0 ? 0 : 3;
}
