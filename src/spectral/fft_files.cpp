#include "spectral/fft_files.h"

#include <cmath>
#include <cstdio>
#include <string>

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

  const long n = p.num_meas_points;
  long double first_freq = 0, second_freq = 0;
  long count = 0;
  for (long k = 0; k < n; ++k) {
    long double record[3];
    if (!read_record(p, file, record)) break;
    if (binary) {
      fftr[k] = record[1];
      ffti[k] = record[2];
    } else {
      fftnmag[k] = record[1];
      fftnph[k] = record[2];
    }
    if (k == 0) first_freq = record[0];
    if (k == 1) second_freq = record[0];
    count = k + 1;
  }

  *num = count;
  if (*num <= 0) con.print("Warning - no data was found\n");
  if (*num >= 2) *delf = second_freq - first_freq;

  if (*num < n) {
    con_printf(con, "%s%d%s", "Warning: number of points in wf ", iwf,
               " less than num_meas_points;\n");
    con.print(binary ? "Fill remaining values with zero? 1=Y, 0=N:\n"
                     : "Fill remaining values with small value? 1=Y, 0=N:\n");
    con.refresh();
    int answer = 0;
    get_integer(con, &answer);
    if (answer == 1) {
      for (long k = *num; k < n; ++k) {
        if (binary) {
          fftr[k] = 0;
          ffti[k] = 0;
        } else {
          fftnmag[k] = kDbFloor;
          fftnph[k] = 0;
        }
      }
    }
  }

  // Without two records there is no step to compare.
  if (*num >= 2 && std::fabs(*delf - p.fft.deltaf) > 0.01L) {
    con_printf(con, "%s%d%s", "Warning - delf in FFT ", iwf,
               " file doesn't match program value;\n");
    pause(p, con);
  }

  if (binary) {
    calc_fft_mag_ph_no_avg(p, &n, fftr, ffti, fftnmag, fftnph);
  } else {
    const long double ln_10 = p.ln_10;
    for (long k = 0; k < n; ++k) {
      const long double a = xexp(ln_10 * fftnmag[k] / 20.0L);
      long double s = 0, c = 0;
      xsincos(fftnph[k] * p.pi / 180.0L, &s, &c);
      fftr[k] = a * c;
      ffti[k] = a * s;
    }
  }
  std::fclose(file);
}

}  // namespace refx
