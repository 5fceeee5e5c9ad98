#include "spectral/fft_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console_io.h"
#include "console/file_save.h"
#include "core/float80.h"
#include "core/program.h"
#include "core/xmath.h"
#include "spectral/mag_phase.h"

namespace refx {
namespace {

constexpr std::size_t kCommentBytes = 256;

bool binary_format(const Program& p) {
  return p.i_rw_bin_ascii == 1;
}

bool write_comment_block(std::FILE* file, const std::string& comment) {
  char block[kCommentBytes] = {};
  comment.copy(block, kCommentBytes - 1);
  return std::fwrite(block, 1, kCommentBytes, file) == kCommentBytes;
}

// One record of three values; false (nothing stored) when the file has no complete record.
bool read_record(const Program& p, std::FILE* file, long double values[3]) {
  long double v[3];
  if (binary_format(p)) {
    const int width = p.build->binary_value_bytes;
    for (long double& value : v)
      if (!read_float80(file, &value, width)) return false;
  } else if (std::fscanf(file, "%Le%Le%Le", &v[0], &v[1], &v[2]) != 3) {
    return false;
  }
  for (int i = 0; i < 3; ++i) values[i] = v[i];
  return true;
}

}  // namespace

void save_fft(Program& p, Console& con, int ifft, const long double* fftr, const long double* ffti,
              const long double* fftnmag, const long double* fftnph, const long double* delf,
              const long* num_pts) {
  con_printf(con, "%s%d%s", "Enter file name for FFT ", ifft, ":\n");
  con.refresh();
  std::string name;
  read_name_word(con, name);
  const bool binary = binary_format(p);
  if (!choose_save_target(con, name)) {
    pause(p, con);
    return;
  }
  const std::string target = name;

  // The comment goes into the buffer that held the name, as it always has.
  std::string& comment = name;
  read_comment(con, p.build->comment_is_word, comment);
  const int width = p.build->binary_value_bytes;
  const bool saved = save_file(con, target, binary ? "wb" : "w", [&](std::FILE* file) {
    if (binary ? !write_comment_block(file, comment)
               : std::fprintf(file, "%s\nx\n", comment.c_str()) < 0)
      return false;
    for (long k = 0; k < *num_pts; ++k) {
      const long double freq = k * *delf;
      const bool ok = binary ? write_float80(file, freq, width) &&
                                   write_float80(file, fftr[k], width) &&
                                   write_float80(file, ffti[k], width)
                             : std::fprintf(file, "%.10Le%s%.10Le%s%.10Le%s", freq, " ", fftnmag[k],
                                            " ", fftnph[k], "\n") >= 0;
      if (!ok) return false;
    }
    return binary || std::fputs("y\n", file) >= 0;
  });
  if (!saved) pause(p, con);
}

namespace {

bool all_finite(const std::vector<long double>& values) {
  for (long double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

void read_fft(Program& p, Console& con, int iwf, long double* fftr, long double* ffti,
              long double* fftnmag, long double* fftnph, long double* delf, long* num) {
  const bool binary = binary_format(p);
  const std::string prompt = "Enter file name for FFT " + std::to_string(iwf) + ", or Q to quit:\n";
  std::string name;
  std::FILE* file = open_for_read(con, prompt, true, name, binary ? "rb" : "r");
  if (!file) return;

  if (binary) {
    char block[kCommentBytes];
    if (std::fread(block, 1, kCommentBytes, file) != kCommentBytes) {
      // Too short for the comment: no records follow.
    }
  } else {
    to_next_line(file);
    to_next_line(file);
  }

  // The slot is worked on in copies and written back only when every value is finite; bins
  // past the file's records keep the slot's values unless the operator fills them.
  const long n = p.num_meas_points;
  const auto size = static_cast<std::size_t>(n);
  std::vector<long double> re(fftr, fftr + size), im(ffti, ffti + size);
  std::vector<long double> mag(fftnmag, fftnmag + size), ph(fftnph, fftnph + size);
  const std::string outcome = "FFT " + std::to_string(iwf) + " was not changed";
  auto refuse = [&](const char* what) {
    report_file_not_finite(con, name, what, outcome);
    pause(p, con);
  };

  long double first_freq = 0, second_freq = 0;
  long count = 0;
  for (long k = 0; k < n; ++k) {
    long double record[3];
    if (!read_record(p, file, record)) break;
    const char* fault = !std::isfinite(record[0]) ? "a frequency" : nullptr;
    if (!std::isfinite(record[1]) || !std::isfinite(record[2])) fault = "a value";
    if (fault) {
      std::fclose(file);
      refuse(fault);
      return;
    }
    if (binary) {
      re[k] = record[1];
      im[k] = record[2];
    } else {
      mag[k] = record[1];
      ph[k] = record[2];
    }
    if (k == 0) first_freq = record[0];
    if (k == 1) second_freq = record[0];
    count = k + 1;
  }

  if (count <= 0) con.print("Warning - no data was found\n");
  long double step = *delf;
  if (count >= 2) step = second_freq - first_freq;

  if (count < n) {
    con_printf(con, "%s%d%s", "Warning: number of points in wf ", iwf,
               " less than num_meas_points;\n");
    con.print(binary ? "Fill remaining values with zero? 1=Y, 0=N:\n"
                     : "Fill remaining values with small value? 1=Y, 0=N:\n");
    con.refresh();
    int answer = 0;
    get_integer(con, &answer);
    if (answer == 1) {
      for (long k = count; k < n; ++k) {
        if (binary) {
          re[k] = 0;
          im[k] = 0;
        } else {
          mag[k] = kDbFloor;
          ph[k] = 0;
        }
      }
    }
  }

  // Without two records there is no step to compare.
  if (count >= 2 && std::fabs(step - p.fft.deltaf) > 0.01L) {
    con_printf(con, "%s%d%s", "Warning - delf in FFT ", iwf,
               " file doesn't match program value;\n");
    pause(p, con);
  }

  if (binary) {
    calc_fft_mag_ph_no_avg(p, &n, re.data(), im.data(), mag.data(), ph.data());
  } else {
    const long double ln_10 = p.ln_10;
    for (long k = 0; k < n; ++k) {
      const long double a = xexp(ln_10 * mag[k] / 20.0L);
      long double s = 0, c = 0;
      xsincos(ph[k] * p.pi / 180.0L, &s, &c);
      re[k] = a * c;
      im[k] = a * s;
    }
  }
  std::fclose(file);
  // A magnitude too large in dB gives an infinite spectrum.
  if (!all_finite(re) || !all_finite(im)) {
    con_printf(con, "%s%s%s%s%s", "Error - file ", name.c_str(),
               " holds a magnitude too large for a finite spectrum; ", outcome.c_str(), "\n");
    pause(p, con);
    return;
  }

  *num = count;
  *delf = step;
  std::copy(re.begin(), re.end(), fftr);
  std::copy(im.begin(), im.end(), ffti);
  std::copy(mag.begin(), mag.end(), fftnmag);
  std::copy(ph.begin(), ph.end(), fftnph);
}

}  // namespace refx
