#include "plot/drawing.h"

#include <algorithm>
#include <cmath>

namespace refx {

void dotted_line(PlotWindow& window, int x1, int y1, int x2, int y2, int colour) {
  const float dot_length = 2.0f;
  const int dx = x2 - x1, dy = y2 - y1;
  const float length = std::sqrt(static_cast<float>(dx * dx + dy * dy));
  if (length <= 0.0f) return;
  float ratio = dot_length / length;
  if (ratio > 1.0f) ratio = 1.0f;
  const float x_step = static_cast<float>(dx) * ratio;
  const float y_step = static_cast<float>(dy) * ratio;
  float xl1 = static_cast<float>(x1), yl1 = static_cast<float>(y1);
  int phase = 1;
  for (;;) {
    const float xl2 = xl1 + x_step;
    if (static_cast<float>(x2) < xl2) break;
    const float yl2 = yl1 + y_step;
    if (static_cast<float>(y2) < yl2) break;
    if (phase > 0)
      window.line(static_cast<int>(xl1), static_cast<int>(yl1), static_cast<int>(xl2),
                  static_cast<int>(yl2), colour);
    phase = phase == 1 ? -1 : phase + 1;
    xl1 = xl2;
    yl1 = yl2;
  }
  window.line(static_cast<int>(xl1), static_cast<int>(yl1), x2, y2, colour);
}

void Rectangle(PlotWindow& window, int x1, int y1, int x2, int y2, int colour) {
  window.line(x1, y1, x2, y1, colour);
  window.line(x2, y1, x2, y2, colour);
  window.line(x2, y2, x1, y2, colour);
  window.line(x1, y2, x1, y1, colour);
}

int textwidth(const PlotWindow& window, int max_length, const std::string& text) {
  const int chars = std::min(static_cast<int>(text.size()), max_length);
  return chars * window.char_width();
}

}  // namespace refx
