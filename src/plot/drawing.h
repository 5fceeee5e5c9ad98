#pragma once
// Drawing built from the plot window's lines: the same on every platform.
#include <string>

#include "plot/plot_window.h"

namespace refx {

// Dotted line from (x1, y1) to (x2, y2): one 2-pixel step drawn, two left blank, then a last
// piece to the end point. Only non-decreasing coordinates give dots (cursors run downwards);
// otherwise the first step fails and one solid line is drawn.
void dotted_line(PlotWindow& window, int x1, int y1, int x2, int y2, int colour);

// Outline through the four corners.
void Rectangle(PlotWindow& window, int x1, int y1, int x2, int y2, int colour);

// Width in pixels of at most max_length characters of text.
int textwidth(const PlotWindow& window, int max_length, const std::string& text);

}  // namespace refx
