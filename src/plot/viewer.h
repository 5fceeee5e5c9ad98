#pragma once
// The interactive plot viewer: draws a plot and obeys keys typed into the plot window until Q.
#include "core/samples.h"
#include "plot/plot_params.h"

namespace refx {

struct Program;
class Console;

// Plots samples set.i_min to set.i_max (1-based) of plot_array with the kind of
// p.plot.plot_mode (1 time, 2 amplitude in dB, 3 phase in degrees) in p.plot_window. delta is
// the abscissa step between samples (p.plot.deltat_float or p.plot.deltaf_float). Keys: C
// two cursors with read-outs, zoom on leaving; T moves the truncation point i_truncate; Q
// returns, and so does a close request from the window manager, wherever it comes. The zoomed range stays in set, the truncation point in i_truncate. Does nothing
// when the program has no plot window. The caller closes the window with
// graphics_window_end afterwards.
void plot_results(Program& p, PlotParams& set, long& i_truncate, float delta,
                  const Samples& plot_array, int colour);

// Closes the plot window if it is open.
void graphics_window_end(Program& p);

// The menus' way into the viewer: plot_results, then the window closed and the keys typed
// into the terminal meanwhile dropped, so that none of them acts on the menu. A window that
// cannot open (no display) is reported on the console with a pause; the menu carries on.
void view_plot(Program& p, Console& con, PlotParams& set, long& i_truncate, float delta,
               const Samples& plot_array, int colour);

}  // namespace refx
