#pragma once
// Window system coordinates are 16-bit: a line to a far-off point (a value far outside the
// axis range) is first cut to a box that fits, so it does not wrap around to the wrong side.
// Every plot layer cuts the same way, so they all light the same pixels.

namespace refx {

constexpr long kCoordLimit = 16000;

// Cuts the line to the box |x|, |y| <= kCoordLimit; false when none of it lies inside.
bool limit_line(long& x1, long& y1, long& x2, long& y2);

}  // namespace refx
