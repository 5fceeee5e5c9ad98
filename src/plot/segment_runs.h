#pragma once
// A long trace crowds many samples into each pixel column: its segments there are vertical
// and chained end to end. Joined into one segment per run they cover the same pixels and
// cost the line drawing a fraction of the work.
#include <cstddef>

#include "plot/plot_window.h"

namespace refx {

// Replaces each run of consecutive vertical segments at the same x whose y ranges overlap
// the run so far by one vertical segment from the run's lowest to its highest y, in place;
// returns the new count. Other segments and their order are kept.
std::size_t join_column_runs(PlotSegment* segments, std::size_t count);

}  // namespace refx
