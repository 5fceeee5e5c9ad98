#pragma once
// A plot window drawn in memory: the plot layer of script mode. It needs no display; its keys
// come from a key source (the script) and, at every Q, the picture as it stands then goes to
// a picture sink (a PNG file) before the viewer acts on the key.
#include <array>
#include <functional>
#include <memory>

#include "plot/plot_window.h"
#include "plot/raster/raster_image.h"

namespace refx {

struct RasterPlotSettings {
  int width = 1000, height = 800;
  Rgb background = 0x000000;
  // Colour numbers 1 to 7 (white, blue, green, red, yellow, magenta, cyan in refx_lin).
  std::array<Rgb, 7> colours = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000,
                                0xFFFF00, 0xFF00FF, 0x00FFFF};
  // Plot area edges (left, right, bottom, top): (extent / divisor) x multiplier; these are the
  // eighths of refx_lin's window.
  std::array<int, 4> edge_divisor = {8, 8, 8, 8};
  std::array<int, 4> edge_multiplier = {1, 7, 7, 1};
};

class RasterPlotWindow : public PlotWindow {
 public:
  // The next key typed into the plot window; it may end the program (the script ran out).
  using KeySource = std::function<int()>;
  using PictureSink = std::function<void(const RasterImage&)>;

  RasterPlotWindow(RasterPlotSettings settings, KeySource keys, PictureSink pictures);

  // Cursor-left and cursor-right are typed as '<' and '>'.
  static constexpr int kCursorLeft = '<';
  static constexpr int kCursorRight = '>';

  PlotArea open() override;
  bool is_open() const override { return image_ != nullptr; }
  void close() override { image_.reset(); }
  int char_width() const override { return 8; }
  int char_height() const override { return 8; }
  int cursor_left_code() const override { return kCursorLeft; }
  int cursor_right_code() const override { return kCursorRight; }

  void line(int x1, int y1, int x2, int y2, int colour) override;
  void lines(const PlotSegment* segments, std::size_t count, int colour) override;
  void text(int x, int y, const std::string& text) override;
  void clear() override;
  void clear_band(int x, int y, int width, int height) override;
  void clip_to_window() override;
  void clip_to_area(int left, int top, int right, int bottom) override;
  void save_column(int cursor, int x, int top, int height) override;
  void restore_column(int cursor, int x, int top, int height) override;
  void show_picture() override {}
  void show_update() override {}
  PlotEvent next_event() override;

  // The picture drawn so far; null while the window is closed.
  const RasterImage* image() const { return image_.get(); }

 private:
  Rgb colour_of(int colour) const;

  RasterPlotSettings settings_;
  KeySource keys_;
  PictureSink pictures_;
  std::unique_ptr<RasterImage> image_;
  Rgb text_colour_;  // the colour of the last line, as an X graphics context keeps it
  std::array<std::vector<Rgb>, 2> saved_;
  std::array<bool, 2> has_saved_ = {false, false};
};

}  // namespace refx
