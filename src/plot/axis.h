#pragma once
// Axis layout (round division steps from a value range) and axis drawing.
#include "plot/plot_params.h"
#include "plot/plot_window.h"

namespace refx {

// x minus its integer part (truncated toward zero): negative for negative non-integers.
float frac(float x);
// Truncation toward zero.
int truncfi(float x);
// To a pixel position: halves round away from zero.
long Round(double x);

// Lay out the horizontal axis from xmin, xmax (or the vertical one from ymin, ymax): the
// step is 1, 0.5, 0.25 or 0.2 times a power of ten and the axis runs from the minimum over a
// whole number of steps. ln_10 is the program's single-precision ln 10. A range that is not
// positive leaves the layout as it was.
void setup_horiz_axis(PlotParams& set, float ln_10);
void setup_vert_axis(PlotParams& set, float ln_10);

// Frame, tic marks and labels; plot_mode (1 time, 2 amplitude, 3 phase) picks the units.
// The horizontal axis is always drawn in colour 1.
void draw_horiz_axis(PlotWindow& window, const PlotParams& set, int plot_mode, int tic_offset,
                     int colour);
void draw_vert_axis(PlotWindow& window, const PlotParams& set, int plot_mode, int tic_offset,
                    int colour);

}  // namespace refx
