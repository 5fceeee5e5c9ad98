#pragma once
// The 8 x 8 bitmap font of the raster plot layer: one cell per character, its top row 7 rows
// above the baseline.
#include <array>

namespace refx {

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 8;
constexpr int kGlyphAscent = 7;  // rows of the cell above the baseline row

// Row by row, the leftmost pixel in the high bit.
using Glyph = std::array<unsigned char, kGlyphHeight>;

const Glyph& glyph_of(unsigned char c);

}  // namespace refx
