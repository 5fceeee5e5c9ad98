#include "plot/segment_runs.h"

#include <algorithm>

namespace refx {

std::size_t join_column_runs(PlotSegment* segments, std::size_t count) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const PlotSegment s = segments[i];
    if (out > 0 && s.x1 == s.x2) {
      PlotSegment& run = segments[out - 1];
      const int lo = std::min(run.y1, run.y2), hi = std::max(run.y1, run.y2);
      const int slo = std::min(s.y1, s.y2), shi = std::max(s.y1, s.y2);
      if (run.x1 == run.x2 && run.x1 == s.x1 && slo <= hi && shi >= lo) {
        run = {s.x1, std::min(lo, slo), s.x1, std::max(hi, shi)};
        continue;
      }
    }
    segments[out++] = s;
  }
  return out;
}

}  // namespace refx
