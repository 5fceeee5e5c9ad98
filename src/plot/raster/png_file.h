#pragma once
// Plot pictures as PNG files.
#include <string>
#include <vector>

#include "plot/raster/raster_image.h"

namespace refx {

// The picture as the bytes of an 8-bit RGB PNG file.
std::vector<unsigned char> encode_png(const RasterImage& image);

// Writes the bytes to a new file beside `path` and then puts it in the place of `path`, so a
// failed write never leaves a damaged file under that name. On failure returns false with
// the reason in `error`.
bool write_file_whole(const std::string& path, const std::vector<unsigned char>& bytes,
                      std::string& error);

// The plot pictures of a run: plot-001.png, plot-002.png, ... in a folder ("" is the
// current one).
class PlotPictures {
 public:
  explicit PlotPictures(std::string folder) : folder_(std::move(folder)) {}

  // Writes the picture under the next name, which `name` receives either way; false with the
  // reason in `error` when it could not be written.
  bool write(const RasterImage& image, std::string& name, std::string& error);
  int written() const { return count_; }

 private:
  std::string folder_;
  int count_ = 0;
};

}  // namespace refx
