#include "plot/line_limits.h"

#include <algorithm>

namespace refx {

namespace {

bool in_limits(long v) {
  return v >= -kCoordLimit && v <= kCoordLimit;
}

}  // namespace

bool limit_line(long& x1, long& y1, long& x2, long& y2) {
  if (in_limits(x1) && in_limits(y1) && in_limits(x2) && in_limits(y2)) return true;
  double t0 = 0, t1 = 1;
  const double dx = static_cast<double>(x2 - x1), dy = static_cast<double>(y2 - y1);
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {static_cast<double>(x1 + kCoordLimit), static_cast<double>(kCoordLimit - x1),
                       static_cast<double>(y1 + kCoordLimit),
                       static_cast<double>(kCoordLimit - y1)};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
    } else {
      const double r = q[i] / p[i];
      if (p[i] < 0)
        t0 = std::max(t0, r);
      else
        t1 = std::min(t1, r);
    }
  }
  if (t0 > t1) return false;
  const long ox = x1, oy = y1;
  if (t1 < 1) {
    x2 = ox + static_cast<long>(t1 * dx);
    y2 = oy + static_cast<long>(t1 * dy);
  }
  if (t0 > 0) {
    x1 = ox + static_cast<long>(t0 * dx);
    y1 = oy + static_cast<long>(t0 * dy);
  }
  return true;
}

}  // namespace refx
