#include "app/startup.h"

#include <cmath>
#include <limits>

#include "core/fatal.h"
#include "core/program.h"

namespace refx {

namespace {

constexpr int kLineBuffer = 499;  // fgets keeps 498 characters of a line

// Power-of-two test: p doubles at least once, so the smallest value accepted is 2.
// The bound keeps the doubling inside long.
bool is_power_of_two(long value) {
  long p = 1;
  do {
    p *= 2;
  } while (p < value && p <= std::numeric_limits<long>::max() / 2);
  return p == value;
}

void read_data_line(Program& p, Console& con, std::FILE* file, std::string& line) {
  skip_comments(p, con, file, kLineBuffer, line);
}

void read_int_pair(Program& p, Console& con, std::FILE* file, int* divisor, int* multiplier) {
  std::string line;
  read_data_line(p, con, file, line);
  if (std::sscanf(line.c_str(), "%d%d", divisor, multiplier) != 2) report_file_format_error(p, con);
}

void read_rgb(Program& p, Console& con, std::FILE* file, int rgb[3]) {
  std::string line;
  read_data_line(p, con, file, line);
  if (std::sscanf(line.c_str(), "%d%d%d", &rgb[0], &rgb[1], &rgb[2]) != 3)
    report_file_format_error(p, con);
}

void set_plot_params(PlotParams& s, float ymax, float ymin, float xmax, long npts, long i_max,
                     long i_truncate) {
  s.ymax = ymax;
  s.ymin = ymin;
  s.xmin = 0.0f;
  s.xmax = xmax;
  s.npts = npts;
  s.i_min = 1;
  s.i_max = i_max;
  s.i_truncate = i_truncate;
  s.strt_val = 0.0f;
}

}  // namespace

void set_constants(Program& p) {
  if (p.build->windows) {
    p.pi = 4.0L * std::atan(1.0L);
  } else {
    // 64-bit significand C90FDAA22168C235, biased exponent 4000 (hex).
    p.pi = 3.141592653589793238462643383279502884L;
  }
  p.plot.graphics_window_created = 0;
  p.plot.color = 1;
  p.wf.scale_wf1 = 1.0L;
  p.wf.scale_wf2 = 1.0L;
}

void skip_comments(Program& p, Console& con, std::FILE* input_file, int max_length,
                   std::string& input_line) {
  std::string buffer(static_cast<std::size_t>(max_length), '\0');
  for (;;) {
    if (!std::fgets(&buffer[0], max_length, input_file)) report_file_format_error(p, con);
    if (buffer[0] != '#') break;
  }
  input_line.assign(buffer.c_str());
}

void read_configuration(Program& p, Console& con, std::FILE* input_file) {
  std::string line;
  read_data_line(p, con, input_file, line);
  if (std::sscanf(line.c_str(), "%Le", &p.sampling_rate) != 1) report_file_format_error(p, con);
  // Not a number, not positive, or so far out that the single-precision sample interval
  // or frequency step would be zero or infinite.
  if (!(p.sampling_rate >= kMinSamplingRate && p.sampling_rate <= kMaxSamplingRate))
    report_file_format_error(p, con);
  p.delt = 1.0L / p.sampling_rate;

  read_data_line(p, con, input_file, line);
  if (std::sscanf(line.c_str(), "%ld", &p.num_meas_points) != 1) report_file_format_error(p, con);
  if (!is_power_of_two(p.num_meas_points)) {
    con.print("Error - num_meas_points is not a power of 2\n");
    end_program(p, con);
  }
  if (p.num_meas_points > kMaxPoints) {
    con.print("Error - num_meas_points is too large (maximum 65536)\n");
    end_program(p, con);
  }
  p.delf_minp = 1.0L / (p.num_meas_points * p.delt);

  if (p.build->windows) {
    read_rgb(p, con, input_file, p.foreground_rgb);
    read_rgb(p, con, input_file, p.background_rgb);
    for (int edge = 0; edge < 4; ++edge)
      read_int_pair(p, con, input_file, &p.plot_area_divisor[edge], &p.plot_area_multiplier[edge]);
  } else {
    read_data_line(p, con, input_file, line);
    if (std::sscanf(line.c_str(), "%i", &p.maxx) != 1) report_file_format_error(p, con);
    read_data_line(p, con, input_file, line);
    if (std::sscanf(line.c_str(), "%i", &p.maxy) != 1) report_file_format_error(p, con);
    // The window system takes sizes up to 32767; below the minimum no plot area is left.
    for (int size : {p.maxx, p.maxy})
      if (size < kMinPlotWindowSize || size > kMaxPlotWindowSize) report_file_format_error(p, con);
  }
}

void derive_values(Program& p) {
  const long n = p.num_meas_points;
  p.deltat = static_cast<float>(p.delt);
  p.wf.deltat1 = p.delt;
  p.wf.deltat2 = p.delt;

  p.wf.nptst = n;
  p.wf.num_ptst1 = n;
  p.wf.num_ptst2 = n;
  p.fft.num_ptsa1 = n;
  p.fft.num_ptsa2 = n;
  p.fft.n = n;
  set_plot_params(p.plot.t, 1.0f, -1.0f, static_cast<float>(n - 1) * p.deltat, n, n, n);

  p.fft.freq_cutoff_avg = 1.0L / (2.0L * p.delt);
  p.fft.npts_cutoff_avg = n / 2;
  p.wf.i_truncatet1 = n;
  p.wf.i_truncatet2 = n;

  p.fft.deltaf = 1.0L / (static_cast<long double>(p.deltat) * n);
  const long nptsa = n;
  set_plot_params(p.plot.a, 10.0f, -30.0f, static_cast<float>((nptsa / 2 - 1) * p.fft.deltaf), n,
                  nptsa / 2 + 1, nptsa / 2 + 1);

  p.plot.tic_offset = 2;
  if (p.build->windows) {
    p.ln_10 = static_cast<float>(std::log(10.0));
    p.ln_2 = std::log(2.0L);
  } else {
    p.ln_10 = 2.3025851f;
    p.ln_2 = 0.693147180559945309417232121458176568L;
  }
  set_plot_params(p.plot.p, 200.0f, -200.0f, static_cast<float>((n / 2 - 1) * p.fft.deltaf), n,
                  n / 2 + 1, n / 2 + 1);
}

void start_up(Program& p, Console& con) {
  set_constants(p);
  std::FILE* file = std::fopen(p.build->config_file_name, "r");
  if (!file) {
    con.print("Error - input file not found\n");
    con.print("Program will be terminated\n");
    con.print("Press any A/N key to continue:\n");
    con.refresh();
    try {
      p.ascii_code_continue = static_cast<char>(con.wait_for_key());
    } catch (const ProgramExit&) {
      // No key can come (the input has ended): the run still ends for the missing file.
    }
    throw ProgramExit{1};
  }
  try {
    read_configuration(p, con, file);
  } catch (...) {
    std::fclose(file);
    throw;
  }
  std::fclose(file);
  con.clear();
  derive_values(p);
}

}  // namespace refx
