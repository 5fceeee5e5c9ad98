#pragma once
// A picture in memory, drawn pixel for pixel as an X server draws the plot window: lines of
// width 1 with round caps, a rectangular clip, fills and an 8 x 8 bitmap font.
#include <cstdint>
#include <string>
#include <vector>

namespace refx {

// 0xRRGGBB
using Rgb = std::uint32_t;

class RasterImage {
 public:
  RasterImage(int width, int height, Rgb background);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const std::vector<Rgb>& pixels() const { return pixels_; }

  // Later line, point and text drawing is limited to columns left..right-1 and rows
  // top..bottom-1 (and always to the image).
  void set_clip(int left, int top, int right, int bottom);

  // The pixels the X server lights for a line of width 1 with round caps, clipped.
  void line(int x1, int y1, int x2, int y2, Rgb colour);
  // Text with its left end at x and its baseline at y, in the 8 x 8 font, clipped.
  void text(int x, int y, const std::string& text, Rgb colour);
  // A rectangle filled, limited to the image only (as a window clear ignores the clip).
  void fill(int x, int y, int width, int height, Rgb colour);
  // A point, clipped.
  void point(int x, int y, Rgb colour);

  // The column at x, rows top..top+height-1 (which must lie inside the image), and putting
  // such a column back through the clip.
  std::vector<Rgb> column(int x, int top, int height) const;
  void put_column(int x, int top, const std::vector<Rgb>& column);

 private:
  void span(int y, long left, long right, Rgb colour);

  int width_, height_;
  std::vector<Rgb> pixels_;
  int clip_left_, clip_top_, clip_right_, clip_bottom_;
};

}  // namespace refx
