#include "app/script_mode.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/main_menu.h"
#include "app/startup.h"
#include "console/console_io.h"
#include "console/script/script_console.h"
#include "core/fatal.h"
#include "core/program.h"
#include "plot/raster/png_file.h"
#include "plot/raster/raster_plot_window.h"

namespace refx {

namespace {

constexpr int kPictureFailed = 4;
constexpr int kMaxPictureSide = 8192;
// refx_win has no window size in its configuration: its pictures take this one.
constexpr int kWindowsPictureWidth = 1000, kWindowsPictureHeight = 800;

Rgb pack(const int rgb[3]) {
  return static_cast<Rgb>((rgb[0] & 0xFF) << 16 | (rgb[1] & 0xFF) << 8 | (rgb[2] & 0xFF));
}

// The picture settings of this build's configuration, once it has been read.
RasterPlotSettings picture_settings(const Program& p, ScriptConsole& con) {
  RasterPlotSettings s;
  if (p.build->windows) {
    s.width = kWindowsPictureWidth;
    s.height = kWindowsPictureHeight;
    s.background = pack(p.background_rgb);
    s.colours.fill(pack(p.foreground_rgb));
    for (std::size_t i = 0; i < 4; ++i) {
      s.edge_divisor[i] = p.plot_area_divisor[i];
      s.edge_multiplier[i] = p.plot_area_multiplier[i];
    }
  } else if (p.maxx >= 1 && p.maxx <= kMaxPictureSide && p.maxy >= 1 && p.maxy <= kMaxPictureSide) {
    s.width = p.maxx;
    s.height = p.maxy;
  } else {
    con_printf(con,
               "Warning - plot window size %d x %d is not 1 to %d pixels each way; plot "
               "pictures are %d x %d\n",
               p.maxx, p.maxy, kMaxPictureSide, s.width, s.height);
  }
  return s;
}

bool is_folder(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}

}  // namespace

int run_script_mode(Program& p, const CommandLine& line) {
  const bool from_stdin = line.script == "-";
  std::FILE* file = from_stdin ? stdin : std::fopen(line.script.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "Cannot open script %s: %s\n", line.script.c_str(), std::strerror(errno));
    return kUsageStatus;
  }
  if (!line.plots_dir.empty() && !is_folder(line.plots_dir)) {
    std::fprintf(stderr, "Cannot write plot pictures to %s: not a folder\n",
                 line.plots_dir.c_str());
    if (!from_stdin) std::fclose(file);
    return kUsageStatus;
  }

  ScriptReader script(file, from_stdin ? "standard input" : line.script);
  ScriptConsole console(script, stdout);
  PlotPictures pictures(line.plots_dir);
  bool picture_failed = false;
  auto write_picture = [&](const RasterImage& image) {
    std::string name, error;
    if (pictures.write(image, name, error)) {
      console.print("Plot picture written to " + name + "\n");
    } else {
      picture_failed = true;
      const std::string message = "Error - plot picture " + name + " not written: " + error + "\n";
      console.print(message);
      std::fputs(message.c_str(), stderr);
    }
  };

  int status = 0;
  try {
    start_up(p, console);
    RasterPlotWindow window(
        picture_settings(p, console), [&] { return console.read_plot_key(); }, write_picture);
    p.plot_window = &window;
    main_menu(p, console);
  } catch (const ProgramExit& stop) {
    status = stop.status;
  }
  p.plot_window = nullptr;
  std::fflush(stdout);
  if (!from_stdin) std::fclose(file);
  return status == 0 && picture_failed ? kPictureFailed : status;
}

}  // namespace refx
