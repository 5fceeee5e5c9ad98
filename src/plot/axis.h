#pragma once
// Axis layout (round division steps from a value range) and axis drawing.
#include "plot/plot_params.h"
#include "plot/plot_window.h"

namespace refx {

// x minus its integer part (truncated toward zero): negative for negative non-integers.
float frac(float x);
// Truncation toward zero; held to the range of int, and 0 for NaN.
int truncfi(float x);
// To a pixel position: halves round away from zero. Held to the range of long, and 0 for NaN.
long Round(double x);

// A pixel position for any value: positions beyond kPixelHold (far outside any window) are
// held there, so a line towards a huge value is still cut at the frame edge on its own side;
// NaN is put at +kPixelHold (the bottom or right).
constexpr double kPixelHold = 1e9;
int to_pixel(double x);

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
