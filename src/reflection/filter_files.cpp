#include "reflection/filter_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "console/console_io.h"
#include "console/file_save.h"
#include "core/float80.h"
#include "core/program.h"

namespace refx {

namespace {

constexpr std::size_t kCommentBytes = 256;
constexpr int kBinaryRiFormat = 1;

bool binary_format(const Program& p) {
  return p.i_rw_bin_ascii == kBinaryRiFormat;
}

bool write_header(const Program& p, std::FILE* file, const std::string& comment) {
  if (binary_format(p)) {
    // The comment, its NUL, and zeros in the bytes that carry no meaning.
    unsigned char field[kCommentBytes] = {};
    const std::size_t length = comment.size() < kCommentBytes ? comment.size() : kCommentBytes - 1;
    comment.copy(reinterpret_cast<char*>(field), length);
    return std::fwrite(field, 1, kCommentBytes, file) == kCommentBytes;
  }
  return std::fprintf(file, "%s%s", comment.c_str(), "\n") >= 0 && std::fprintf(file, "x\n") >= 0;
}

bool write_record(const Program& p, std::FILE* file, long double f, long double re,
                  long double im) {
  if (binary_format(p)) {
    const int width = p.build->binary_value_bytes;
    return write_float80(file, f, width) && write_float80(file, re, width) &&
           write_float80(file, im, width);
  }
  return std::fprintf(file, "%18.10Le%s%41.33Le%s%41.33Le%s", f, " ", re, " ", im, "\n") >= 0;
}

void skip_header(const Program& p, std::FILE* file) {
  if (binary_format(p)) {
    std::fseek(file, static_cast<long>(kCommentBytes), SEEK_SET);
  } else {
    to_next_line(file);
    to_next_line(file);
  }
}

// One record: true only when all three values came.
bool read_record(const Program& p, std::FILE* file, long double* f, long double* re,
                 long double* im) {
  if (binary_format(p)) {
    const int width = p.build->binary_value_bytes;
    return read_float80(file, f, width) && read_float80(file, re, width) &&
           read_float80(file, im, width);
  }
  return std::fscanf(file, "%Le%Le%Le", f, re, im) == 3;
}

void warn(Program& p, Console& con, const char* text) {
  con.print(text);
  con.refresh();
  pause(p, con);
}

}  // namespace

void save_rrc_filter(Program& p, Console& con, std::string& rrc_filt_save_filename,
                     const Samples& Re_rrc_filt, const Samples& Im_rrc_filt, long double delf,
                     long nptst) {
  p.rrc.rrc_error = 0;
  con.print("Enter file name to save compression filter:\n");
  con.refresh();
  read_name_word(con, rrc_filt_save_filename);
  // The first name is always a file name; only the retry prompt takes Q as giving up.
  if (!choose_save_target(con, rrc_filt_save_filename)) {
    p.rrc.rrc_error = 1;
    return;
  }
  std::string comment;
  read_comment(con, p.build->comment_is_word, comment);
  // A filter that did not reach the disk must not be reported as saved; the action's own
  // message and pause follow the error.
  const bool saved =
      save_file(con, rrc_filt_save_filename, binary_format(p) ? "wb" : "w", [&](std::FILE* file) {
        if (!write_header(p, file, comment)) return false;
        for (long k = 0; k < nptst; ++k)
          if (!write_record(p, file, static_cast<long double>(k) * delf, Re_rrc_filt[k],
                            Im_rrc_filt[k]))
            return false;
        return binary_format(p) || std::fprintf(file, "y\n") >= 0;
      });
  if (!saved) p.rrc.rrc_error = 1;
}

void read_rrc_filt(Program& p, Console& con, std::string& rrc_filt_filename, Samples& Re_rrc_filt,
                   Samples& Im_rrc_filt, long double* delf, long* num) {
  std::string name;
  std::FILE* file =
      open_for_read(con, "Enter file name containing compression filter, or Q to quit:\n", true,
                    name, binary_format(p) ? "rb" : "r");
  if (!file) {
    p.rrc.rrc_error = 1;
    return;
  }
  skip_header(p, file);

  // Records go to scratch first, so that a file too short to hold a whole filter, or one
  // with a number that is not finite, leaves the filter in use as it was.
  const long n = p.num_meas_points;
  std::vector<long double> re(static_cast<std::size_t>(n)), im(static_cast<std::size_t>(n));
  long double f0 = 0, f1 = 0;
  long count = 0;
  while (count < n) {
    long double f;
    if (!read_record(p, file, &f, &re[count], &im[count])) break;
    const char* fault = !std::isfinite(f) ? "a frequency" : nullptr;
    if (!std::isfinite(re[count]) || !std::isfinite(im[count])) fault = "a value";
    if (fault) {
      // The caller says the read was not completed and pauses.
      std::fclose(file);
      report_file_not_finite(con, name, fault, "the compression filter was not changed");
      p.rrc.rrc_error = 1;
      return;
    }
    if (count == 0) f0 = f;
    if (count == 1) f1 = f;
    ++count;
  }
  *num = count;

  if (count <= 0) {
    p.rrc.rrc_error = 1;
    warn(p, con, "Warning - no data was found\n");
  }
  if (count < n) {
    p.rrc.rrc_error = 1;
    warn(p, con, "Warning: number of points in rrc_filter file less than num_meas_points;\n");
  }
  // The spacing needs two records; with fewer there is nothing to compare.
  if (count >= 2) {
    *delf = f1 - f0;
    if (std::fabs(*delf - p.fft.deltaf) > 0.01L)
      warn(p, con, "Warning - delf in rrc_filter file doesn't match program value;\n");
  }
  std::fclose(file);

  if (count == n) {
    std::copy(re.begin(), re.end(), Re_rrc_filt.begin());
    std::copy(im.begin(), im.end(), Im_rrc_filt.begin());
    rrc_filt_filename = name;
  }
}

}  // namespace refx
