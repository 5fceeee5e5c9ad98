#pragma once
// One complete picture of a plot: window, axes and the samples as a trace or as sticks.
#include "core/samples.h"
#include "plot/plot_params.h"
#include "plot/plot_window.h"

namespace refx {

struct Program;

// What one viewer run plots. delta is the abscissa step between samples, i_truncate the last
// sample drawn with its value (the time kind's is the slot's own truncation point).
struct PlotJob {
  Program& p;
  PlotWindow& window;
  PlotParams& set;
  long& i_truncate;
  float delta;
  const Samples& plot_array;
  int colour;
};

// The value shown for sample i (0-based): phase plots (plot_mode 3) lose a delay of Tg seconds
// and are wrapped into [-180, 180] degrees; other plots show the value as it is.
float tg_adjust(int plot_mode, long i, float value, long double deltaf, float Tg);

// Pixel column of sample i_func (1-based).
long find_pixel(long i_func, int minx, int maxx, float delta, float strt_val, float xmin_axis,
                float xmax_axis);

// Opens the window if needed (taking its plot area edges), lays out the axes when init_graph
// is 0 (and sets it to 1), and draws the whole picture with plot_mode from p.plot.
void plot(int& init_graph, const PlotJob& job);

}  // namespace refx
