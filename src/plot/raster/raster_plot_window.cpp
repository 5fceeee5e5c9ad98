#include "plot/raster/raster_plot_window.h"

#include <utility>

#include "plot/line_limits.h"

namespace refx {

namespace {

// Origin plus (extent / divisor) x multiplier; a divisor of 0 leaves the edge at the origin.
int edge(int extent, int divisor, int multiplier) {
  return divisor == 0 ? 0 : (extent / divisor) * multiplier;
}

}  // namespace

RasterPlotWindow::RasterPlotWindow(RasterPlotSettings settings, KeySource keys,
                                   PictureSink pictures)
    : settings_(settings),
      keys_(std::move(keys)),
      pictures_(std::move(pictures)),
      text_colour_(settings.colours[0]) {}

Rgb RasterPlotWindow::colour_of(int colour) const {
  return colour >= 1 && colour <= 7 ? settings_.colours[static_cast<std::size_t>(colour - 1)]
                                    : settings_.colours[0];
}

PlotArea RasterPlotWindow::open() {
  if (!image_) {
    image_ = std::make_unique<RasterImage>(settings_.width, settings_.height, settings_.background);
    text_colour_ = settings_.colours[0];
    has_saved_ = {false, false};
  }
  const auto& d = settings_.edge_divisor;
  const auto& m = settings_.edge_multiplier;
  PlotArea area;
  area.minx = edge(settings_.width, d[0], m[0]);
  area.maxx = edge(settings_.width, d[1], m[1]);
  area.miny = edge(settings_.height, d[2], m[2]);
  area.maxy = edge(settings_.height, d[3], m[3]);
  return area;
}

void RasterPlotWindow::line(int x1, int y1, int x2, int y2, int colour) {
  if (!image_) return;
  text_colour_ = colour_of(colour);
  long a = x1, b = y1, c = x2, d = y2;
  if (limit_line(a, b, c, d))
    image_->line(static_cast<int>(a), static_cast<int>(b), static_cast<int>(c), static_cast<int>(d),
                 text_colour_);
}

void RasterPlotWindow::lines(const PlotSegment* segments, std::size_t count, int colour) {
  for (std::size_t i = 0; i < count; ++i)
    line(segments[i].x1, segments[i].y1, segments[i].x2, segments[i].y2, colour);
}

void RasterPlotWindow::text(int x, int y, const std::string& text) {
  if (image_) image_->text(x, y, text, text_colour_);
}

void RasterPlotWindow::clear() {
  if (image_) image_->fill(0, 0, image_->width(), image_->height(), settings_.background);
}

void RasterPlotWindow::clear_band(int x, int y, int width, int height) {
  if (image_) image_->fill(x, y, width, height, settings_.background);
}

void RasterPlotWindow::clip_to_window() {
  if (image_) image_->set_clip(0, 0, image_->width(), image_->height());
}

void RasterPlotWindow::clip_to_area(int left, int top, int right, int bottom) {
  if (image_) image_->set_clip(left, top, right, bottom);
}

void RasterPlotWindow::save_column(int cursor, int x, int top, int height) {
  if (!image_ || (cursor != 1 && cursor != 2)) return;
  const std::size_t i = static_cast<std::size_t>(cursor - 1);
  // As with a window, a column that is not wholly inside cannot be read: nothing is kept.
  has_saved_[i] =
      x >= 0 && x < image_->width() && top >= 0 && height > 0 && top + height <= image_->height();
  if (has_saved_[i]) saved_[i] = image_->column(x, top, height);
}

void RasterPlotWindow::restore_column(int cursor, int x, int top, int) {
  if (!image_ || (cursor != 1 && cursor != 2)) return;
  const std::size_t i = static_cast<std::size_t>(cursor - 1);
  if (!has_saved_[i]) return;
  image_->put_column(x, top, saved_[i]);
  has_saved_[i] = false;
}

PlotEvent RasterPlotWindow::next_event() {
  const int key = keys_();
  if ((key == 'Q' || key == 'q') && image_ && pictures_) pictures_(*image_);
  PlotEvent event;
  event.is_key = true;
  event.code = key & 0xFF;
  return event;
}

}  // namespace refx
