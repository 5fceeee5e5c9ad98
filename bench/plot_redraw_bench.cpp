// Redraw of a 65536-point time plot in a real X11 window (needs DISPLAY, e.g. under Xvfb):
// the trace handed to the server in batches of segments against one line request per
// sample, the way a plot is drawn line by line. Each iteration is one full pass of the
// viewer's main loop (clear, axes, trace), finished with a round trip to the server.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "plot/plot_lin/xlib_plot_window.h"
#include "plot/trace.h"
#include "shell/program.h"
#include "shell/startup.h"

namespace {

using refx::PlotSegment;

// Forwards everything to the Xlib window, but draws a batch of segments one line at a time.
class LineByLine : public refx::PlotWindow {
 public:
  explicit LineByLine(refx::XlibPlotWindow& w) : w_(w) {}
  refx::PlotArea open() override { return w_.open(); }
  bool is_open() const override { return w_.is_open(); }
  void close() override { w_.close(); }
  int char_width() const override { return w_.char_width(); }
  int char_height() const override { return w_.char_height(); }
  int cursor_left_code() const override { return w_.cursor_left_code(); }
  int cursor_right_code() const override { return w_.cursor_right_code(); }
  void line(int x1, int y1, int x2, int y2, int c) override { w_.line(x1, y1, x2, y2, c); }
  void lines(const PlotSegment* s, std::size_t n, int c) override {
    for (std::size_t i = 0; i < n; ++i) w_.line(s[i].x1, s[i].y1, s[i].x2, s[i].y2, c);
  }
  void text(int x, int y, const std::string& t) override { w_.text(x, y, t); }
  void clear() override { w_.clear(); }
  void clear_band(int x, int y, int w, int h) override { w_.clear_band(x, y, w, h); }
  void clip_to_window() override { w_.clip_to_window(); }
  void clip_to_area(int l, int t, int r, int b) override { w_.clip_to_area(l, t, r, b); }
  void save_column(int c, int x, int t, int h) override { w_.save_column(c, x, t, h); }
  void restore_column(int c, int x, int t, int h) override { w_.restore_column(c, x, t, h); }
  void show_picture() override { w_.show_picture(); }
  void show_update() override { w_.show_update(); }
  refx::PlotEvent next_event() override { return w_.next_event(); }

 private:
  refx::XlibPlotWindow& w_;
};

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
  LineByLine per_line(scene->window);
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
