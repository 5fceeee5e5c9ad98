#pragma once
// One-sided window functions: 1 up to a first point, falling to a minimum at a last point,
// the minimum from there on. Set up by the window menu, applied by the time waveforms menu.
#include "console/console.h"
#include "core/samples.h"
#include "waveforms/waveform_state.h"

namespace refx {

struct Program;

constexpr long kWindowEntries = 10000;

// " Bartlett(linear) (" .. " Parzen(cubic) (" for window_type 1..5; "" otherwise.
const char* window_label(int window_type);

// Fills entries 0..D of the table with the falling half of shape window_type (1..5),
// stretched over D points (D >= 1).
void fill_window(int window_type, long D, long double pi, long double* window);

// Multiplies entries 0..nptst-1 of y by the set-up window: unchanged before the first
// point, the table from the first to the last point, its last entry after it.
// Only valid while wf.window_type > 0.
void apply_window(const TimeWaveforms& wf, Samples& y);

// The window menu: A, N, M, L, P set up a shape, R releases, Q returns.
void window_menu(Program& p, Console& con);

}  // namespace refx
