#pragma once
// A plot parameter set (one per plot kind: time, amplitude, phase) and the plot state
// the menus share with the viewer.

namespace refx {

struct PlotParams {
  int ndivh = 0, ndivv = 0;
  int n_h = 0, n_v = 0;
  int minx = 0, miny = 0, maxx = 0, maxy = 0;  // plot area edges in pixels
  long i_min = 0, i_max = 0;
  long i_truncate = 0;  // amplitude and phase kinds; the time kind uses its slot's own
  long npts = 0;
  float deltah = 0, deltav = 0;
  float deltah_n = 0, deltav_n = 0;
  float xmin = 0, xmax = 0;
  float ymin = 0, ymax = 0;
  float xmin_axis = 0, xmax_axis = 0;
  float ymin_axis = 0, ymax_axis = 0;
  float strt_val = 0;
};

struct PlotState {
  PlotParams t, a, p;  // time, FFT amplitude, FFT phase
  int plot_mode = 0;   // 1 time, 2 amplitude (dB), 3 phase (degrees)
  float deltat_float = 0, deltaf_float = 0;
  int graphics_window_created = 0;
  int color = 1;
  int tic_offset = 2;
};

}  // namespace refx
