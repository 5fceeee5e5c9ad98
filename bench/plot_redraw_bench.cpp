// Redraw of a 65536-point time plot in a real X11 window (needs DISPLAY, e.g. under Xvfb):
// the trace handed to the server in batches of segments against one line request per
// sample, the way a plot is drawn line by line. Each iteration is one full pass of the
// viewer's main loop (clear, axes, trace), finished with a round trip to the server.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/startup.h"
#include "core/program.h"
#include "line_by_line_window.h"
#include "plot/plot_lin/xlib_plot_window.h"
#include "plot/trace.h"

namespace {

struct Scene {
  std::unique_ptr<refx::Program> p = refx::make_program();
  refx::XlibPlotWindow window{1000, 800};

  Scene() {
    refx::Program& q = *p;
    refx::set_constants(q);
    q.sampling_rate = 1048576.0L;
    q.delt = 1.0L / q.sampling_rate;
    q.num_meas_points = 65536;
    q.delf_minp = 1.0L / (q.num_meas_points * q.delt);
    q.maxx = 1000;
    q.maxy = 800;
    refx::derive_values(q);
    q.plot.plot_mode = 1;
    for (long k = 0; k < q.num_meas_points; ++k)
      q.wf.y1a[k] = 0.8L * std::sin(k * 0.0021L) * std::cos(k * 0.37L);
  }

  void run(benchmark::State& state, refx::PlotWindow& target) {
    refx::Program& q = *p;
    int init_graph = 0;
    const refx::PlotJob job{q, target, q.plot.t, q.wf.i_truncatet1, q.deltat, q.wf.y1a, 1};
    refx::plot(init_graph, job);
    window.sync();
    for (auto _ : state) {
      refx::plot(init_graph, job);
      window.sync();
    }
    state.counters["segments"] = static_cast<double>(q.plot.t.i_max - q.plot.t.i_min);
  }
};

Scene* scene = nullptr;

void BM_RedrawBatched(benchmark::State& state) {
  scene->run(state, scene->window);
}
void BM_RedrawLineByLine(benchmark::State& state) {
  refx::LineByLineWindow per_line(scene->window);
  scene->run(state, per_line);
}

BENCHMARK(BM_RedrawLineByLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawBatched)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::printf("plot_redraw_bench: no DISPLAY, skipped (run it under Xvfb)\n");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  Scene s;
  scene = &s;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
