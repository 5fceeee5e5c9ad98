// Joining a column's chained vertical segments: what is joined, what is kept apart.
#include "plot/segment_runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace refx {

// For comparing lists of segments (only here).
static bool operator==(const PlotSegment& a, const PlotSegment& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

namespace {

using Segs = std::vector<PlotSegment>;

Segs joined(Segs s) {
  s.resize(join_column_runs(s.data(), s.size()));
  return s;
}

TEST(ColumnRuns, ChainedVerticalSegmentsBecomeOneFromLowestToHighest) {
  // A diagonal into column 5, a chain there going down, up past its start and down again
  // (with a single point), then a diagonal out: the chain becomes one segment 2..9.
  const Segs in = {{4, 6, 5, 6}, {5, 6, 5, 9}, {5, 9, 5, 2},
                   {5, 2, 5, 2}, {5, 2, 5, 4}, {5, 4, 6, 1}};
  const Segs want = {{4, 6, 5, 6}, {5, 2, 5, 9}, {5, 4, 6, 1}};
  EXPECT_EQ(joined(in), want);
}

TEST(ColumnRuns, SegmentsThatDoNotTouchOrChangeColumnStayApart) {
  const Segs apart = {{3, 1, 3, 2}, {3, 4, 3, 6}};  // a gap of one pixel between them
  EXPECT_EQ(joined(apart), apart);
  const Segs columns = {{3, 1, 3, 5}, {4, 5, 4, 9}, {3, 2, 3, 3}};
  EXPECT_EQ(joined(columns), columns);
  const Segs diagonals = {{0, 0, 1, 1}, {1, 1, 2, 2}, {2, 2, 2, 2}};
  EXPECT_EQ(joined(diagonals), diagonals);
  EXPECT_EQ(join_column_runs(nullptr, 0), 0u);
}

// Bars from a base line (every segment vertical, one per sample) join per column.
TEST(ColumnRuns, BarsFromABaseLineJoinPerColumn) {
  const Segs in = {{7, 50, 7, 20}, {7, 50, 7, 35}, {7, 50, 7, 10}, {8, 50, 8, 40}};
  const Segs want = {{7, 10, 7, 50}, {8, 50, 8, 40}};
  EXPECT_EQ(joined(in), want);
}

}  // namespace
}  // namespace refx
