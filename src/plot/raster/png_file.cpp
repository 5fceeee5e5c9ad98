#include "plot/raster/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

// stb's PNG writer, compiled here, writing through our own file code only.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace refx {

namespace {

void append_bytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<unsigned char>*>(context);
  const auto* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

std::string reason() {
  return std::strerror(errno);
}

}  // namespace

std::vector<unsigned char> encode_png(const RasterImage& image) {
  const int w = image.width(), h = image.height();
  std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
  std::size_t i = 0;
  for (Rgb p : image.pixels()) {
    rgb[i++] = static_cast<unsigned char>(p >> 16);
    rgb[i++] = static_cast<unsigned char>(p >> 8);
    rgb[i++] = static_cast<unsigned char>(p);
  }
  std::vector<unsigned char> png;
  if (w > 0 && h > 0) stbi_write_png_to_func(append_bytes, &png, w, h, 3, rgb.data(), w * 3);
  return png;
}

bool write_file_whole(const std::string& path, const std::vector<unsigned char>& bytes,
                      std::string& error) {
  if (bytes.empty()) {
    error = "no picture to write";
    return false;
  }
  const std::string part = path + ".part";
  std::FILE* file = std::fopen(part.c_str(), "wb");
  if (file == nullptr) {
    error = reason();
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  errno = 0;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    error = errno ? reason() : "write failed";
    std::remove(part.c_str());
    return false;
  }
  // Windows does not rename onto an existing file.
  if (std::rename(part.c_str(), path.c_str()) != 0 &&
      (std::remove(path.c_str()) != 0 || std::rename(part.c_str(), path.c_str()) != 0)) {
    error = reason();
    std::remove(part.c_str());
    return false;
  }
  return true;
}

bool PlotPictures::write(const RasterImage& image, std::string& name, std::string& error) {
  char file_name[32];
  std::snprintf(file_name, sizeof file_name, "plot-%03d.png", ++count_);
  name = folder_.empty() ? file_name : folder_ + "/" + file_name;
  return write_file_whole(name, encode_png(image), error);
}

}  // namespace refx
