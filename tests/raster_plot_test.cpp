// The raster plot layer: properties the X server's lines have (direction, translation and
// clipping do not change which pixels a line lights), the plot window's edges, keys and
// cursor columns, the font, and PNG pictures read back pixel for pixel. That its lines are
// the X server's own is checked against a real X server in tests/e2e/raster_lines_x11_e2e.sh.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "plot/raster/bitmap_font.h"
#include "plot/raster/png_file.h"
#include "plot/raster/raster_plot_window.h"
#include "support/temp_dir.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace refx {
namespace {

constexpr Rgb kLit = 0xFFFFFF;

std::set<std::pair<int, int>> lit(const RasterImage& image) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != 0) out.insert({x, y});
  return out;
}

std::set<std::pair<int, int>> line_pixels(int x1, int y1, int x2, int y2, int w = 200,
                                          int h = 200) {
  RasterImage image(w, h, 0);
  image.line(x1, y1, x2, y2, kLit);
  return lit(image);
}

TEST(RasterLines, ClosedFormsAndInvariants) {
  // Horizontal, vertical and single-point lines light exactly the pixels between their ends.
  EXPECT_EQ(line_pixels(7, 5, 2, 5),
            (std::set<std::pair<int, int>>{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}));
  EXPECT_EQ(line_pixels(3, 9, 3, 6),
            (std::set<std::pair<int, int>>{{3, 6}, {3, 7}, {3, 8}, {3, 9}}));
  EXPECT_EQ(line_pixels(4, 4, 4, 4), (std::set<std::pair<int, int>>{{4, 4}}));

  std::mt19937 rng(5);
  for (int i = 0; i < 2000; ++i) {
    const int x1 = 20 + rng() % 60, y1 = 20 + rng() % 60, x2 = 20 + rng() % 60,
              y2 = 20 + rng() % 60;
    const auto pixels = line_pixels(x1, y1, x2, y2);
    // Both ends, and the same pixels drawn from either end.
    ASSERT_TRUE(pixels.count({x1, y1}) && pixels.count({x2, y2})) << x1 << " " << y1;
    ASSERT_EQ(line_pixels(x2, y2, x1, y1), pixels) << x1 << " " << y1 << " " << x2 << " " << y2;
    // Moved by (dx, dy), the line lights the moved pixels.
    const int dx = rng() % 80, dy = rng() % 80;
    std::set<std::pair<int, int>> moved;
    for (auto p : pixels) moved.insert({p.first + dx, p.second + dy});
    ASSERT_EQ(line_pixels(x1 + dx, y1 + dy, x2 + dx, y2 + dy), moved);
    // No gaps: every lit pixel but the ends touches another lit pixel of the line, and
    // every row (or column) the line crosses holds one.
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
      bool row = false;
      for (auto p : pixels) row = row || p.second == y;
      ASSERT_TRUE(row) << "row " << y;
    }
    // A clip keeps exactly the pixels inside it.
    RasterImage clipped(200, 200, 0);
    const int l = 30 + rng() % 20, t = 30 + rng() % 20, r = l + rng() % 40, b = t + rng() % 40;
    clipped.set_clip(l, t, r, b);
    clipped.line(x1, y1, x2, y2, kLit);
    std::set<std::pair<int, int>> inside;
    for (auto p : pixels)
      if (p.first >= l && p.first < r && p.second >= t && p.second < b) inside.insert(p);
    ASSERT_EQ(lit(clipped), inside);
  }
}

TEST(RasterPlotWindow, EdgesKeysPicturesAndColumns) {
  // refx_lin's eighths, and refx_win's divisor and multiplier lines (a divisor of 0 puts an
  // edge at the origin).
  std::vector<int> keys = {'<', '>', 'c', 'q', 'Q'};
  std::size_t next = 0;
  std::vector<std::size_t> picture_lit;
  RasterPlotWindow w(
      RasterPlotSettings{}, [&] { return keys[next++]; },
      [&](const RasterImage& image) { picture_lit.push_back(lit(image).size()); });
  const PlotArea a = w.open();
  EXPECT_EQ(std::vector<int>({a.minx, a.maxx, a.maxy, a.miny}),
            std::vector<int>({125, 875, 100, 700}));
  RasterPlotSettings win;
  win.width = 999;
  win.edge_divisor = {4, 0, 10, 3};
  win.edge_multiplier = {1, 5, 9, 1};
  const PlotArea b = RasterPlotWindow(win, nullptr, nullptr).open();
  EXPECT_EQ(std::vector<int>({b.minx, b.maxx, b.miny, b.maxy}),
            std::vector<int>({249, 0, 720, 266}));

  // Cursor keys are < and >; only Q and q hand the picture as it stands to the sink.
  EXPECT_EQ(w.next_event().code, w.cursor_left_code());
  EXPECT_EQ(w.next_event().code, w.cursor_right_code());
  w.line(10, 10, 20, 10, 1);
  EXPECT_EQ(w.next_event().code, 'c');
  EXPECT_TRUE(picture_lit.empty());
  EXPECT_EQ(w.next_event().code, 'q');
  w.line(10, 12, 20, 12, 3);
  EXPECT_TRUE(w.next_event().is_key);
  EXPECT_EQ(picture_lit, std::vector<std::size_t>({11, 22}));

  // A cursor's column comes back as it was; text takes the colour of the last line (red).
  const RasterImage before = *w.image();
  w.save_column(1, 15, 5, 20);
  w.line(15, 5, 15, 24, 4);
  EXPECT_NE(w.image()->pixels(), before.pixels());
  w.restore_column(1, 15, 5, 20);
  EXPECT_EQ(w.image()->pixels(), before.pixels());
  w.restore_column(1, 15, 5, 20);  // nothing saved: nothing changes
  w.text(100, 100, "1");
  EXPECT_EQ(w.image()->pixel(103, 93), 0xFF0000u);  // top of the "1" stem
  w.clear();
  EXPECT_TRUE(lit(*w.image()).empty());
}

TEST(BitmapFont, EveryCharacterItsOwnGlyphInsideTheCell) {
  std::set<Glyph> seen;
  for (int c = 32; c <= 126; ++c) {
    const Glyph& g = glyph_of(static_cast<unsigned char>(c));
    EXPECT_TRUE(seen.insert(g).second || c == ' ') << "glyph of '" << char(c) << "' repeats";
    for (unsigned char row : g) EXPECT_EQ(row & 0x83, 0) << char(c);  // a blank left and right
  }
  EXPECT_EQ(&glyph_of('\t'), &glyph_of('?'));
  EXPECT_EQ(&glyph_of(200), &glyph_of('?'));
  // The text's rows stand on the baseline: "Ag" from row 93 to row 100 at baseline 100.
  RasterImage image(50, 120, 0);
  image.text(0, 100, "Ag", kLit);
  int top = 120, bottom = -1;
  for (auto p : lit(image)) top = std::min(top, p.second), bottom = std::max(bottom, p.second);
  EXPECT_EQ(top, 93);
  EXPECT_EQ(bottom, 100);
}

TEST(PngFile, PicturesReadBackAndFilesReplacedWhole) {
  RasterImage image(37, 23, 0x102030);
  image.line(0, 0, 36, 22, 0xFF8000);
  image.text(2, 20, "x", 0x00FFFF);
  const std::vector<unsigned char> png = encode_png(image);
  int w = 0, h = 0, n = 0;
  unsigned char* rgb =
      stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &n, 3);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(w, 37);
  EXPECT_EQ(h, 23);
  int differ = 0;
  for (int i = 0; i < w * h; ++i) {
    const Rgb p = image.pixels()[static_cast<std::size_t>(i)];
    differ += rgb[3 * i] != (p >> 16 & 0xFF) || rgb[3 * i + 1] != (p >> 8 & 0xFF) ||
              rgb[3 * i + 2] != (p & 0xFF);
  }
  stbi_image_free(rgb);
  EXPECT_EQ(differ, 0);

  TempDir dir;
  std::string name, error;
  PlotPictures pictures("");
  ASSERT_TRUE(pictures.write(image, name, error)) << error;
  EXPECT_EQ(name, "plot-001.png");
  dir.write("plot-002.png", "older picture");
  ASSERT_TRUE(pictures.write(image, name, error)) << error;
  EXPECT_EQ(name, "plot-002.png");
  EXPECT_EQ(dir.read("plot-002.png"), dir.read("plot-001.png"));
  EXPECT_FALSE(dir.exists("plot-002.png.part"));
  // A picture that cannot be written leaves the file of its name as it was.
  dir.write("plot-003.png", "older picture");
  ASSERT_EQ(std::system("mkdir plot-003.png.part"), 0);
  EXPECT_FALSE(pictures.write(image, name, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(dir.read("plot-003.png"), "older picture");
  PlotPictures elsewhere("no_such_folder");
  EXPECT_FALSE(elsewhere.write(image, name, error));
  EXPECT_EQ(name, "no_such_folder/plot-001.png");
}

}  // namespace
}  // namespace refx
