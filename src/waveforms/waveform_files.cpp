#include "waveforms/waveform_files.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console_io.h"
#include "console/file_save.h"
#include "core/float80.h"
#include "core/program.h"

namespace refx {

namespace {

constexpr std::size_t kCommentBytes = 256;

bool binary_mode(const Program& p) {
  return p.i_rw_bin_ascii == 1;
}

// One (time, value) pair; the count of numbers it yielded: 0, 1 or 2.
int read_pair(const Program& p, std::FILE* file, long double* time, long double* value) {
  if (binary_mode(p)) {
    const int width = p.build->binary_value_bytes;
    if (!read_float80(file, time, width)) return 0;
    return read_float80(file, value, width) ? 2 : 1;
  }
  const int got = std::fscanf(file, "%Le%Le", time, value);
  return got == EOF ? 0 : got;
}

void skip_header(const Program& p, std::FILE* file) {
  if (binary_mode(p)) {
    unsigned char comment[kCommentBytes];
    if (std::fread(comment, 1, kCommentBytes, file) != kCommentBytes) return;
  } else {
    to_next_line(file);
    to_next_line(file);
  }
}

// The file's interval against the program's: the difference is taken in long double and
// judged in single precision (double in the Windows build).
bool interval_mismatch(const Program& p, long double delt) {
  const long double difference = delt - static_cast<long double>(p.deltat);
  if (p.build->interval_check_in_double) return std::fabs(static_cast<double>(difference)) > 1e-10;
  return std::fabs(static_cast<float>(difference)) > 1e-10;
}

bool write_header(const Program& p, std::FILE* file, const std::string& comment) {
  if (binary_mode(p)) {
    unsigned char block[kCommentBytes] = {};
    for (std::size_t i = 0; i < comment.size() && i + 1 < kCommentBytes; ++i)
      block[i] = static_cast<unsigned char>(comment[i]);
    return std::fwrite(block, 1, kCommentBytes, file) == kCommentBytes;
  }
  return std::fprintf(file, "%s\n", comment.c_str()) >= 0 && std::fprintf(file, "x\n") >= 0;
}

bool write_point(const Program& p, std::FILE* file, long double time, long double value) {
  if (binary_mode(p))
    return write_float80(file, time, p.build->binary_value_bytes) &&
           write_float80(file, value, p.build->binary_value_bytes);
  return std::fprintf(file, "%18.10Le%s%18.10Le%s", time, "  ", value, "\n") >= 0;
}

int upper_key(Console& con) {
  return std::toupper(con.read_key() & 0xFF);
}

}  // namespace

bool read_time_waveform(Program& p, Console& con, SlotRef slot, long max_num_pts,
                        std::string& filename) {
  const long double old_deltat = slot.deltat;
  slot.deltat = static_cast<long double>(p.deltat);
  const std::string prompt =
      "Enter file name for time waveform " + std::to_string(slot.number) + ", or Q to quit:\n";
  std::FILE* file = open_for_read(con, prompt, p.build->read_prompt_takes_word, filename,
                                  binary_mode(p) ? "rb" : "r");
  if (!file) return true;
  skip_header(p, file);

  // The points go to scratch first: a file with a number that is not finite changes nothing.
  std::vector<long double> values(static_cast<std::size_t>(max_num_pts > 0 ? max_num_pts : 0));
  long count = 0;
  long double t0 = 0;
  bool have_t0 = false;
  long double time = 0, value = 0;
  while (count < max_num_pts) {
    const int got = read_pair(p, file, &time, &value);
    if (got == 0) break;
    const char* fault = nullptr;
    // A time step too large for long double counts as a time that is not finite.
    if (got == 2 && (!std::isfinite(time) || (count == 1 && !std::isfinite(time - t0))))
      fault = "a time";
    if (!std::isfinite(got == 2 ? value : time)) fault = "a value";
    if (fault) {
      std::fclose(file);
      slot.deltat = old_deltat;
      report_file_not_finite(con, filename, fault,
                             "waveform " + std::to_string(slot.number) + " was not changed");
      pause(p, con);
      return false;
    }
    if (got == 2 && count == 0) {
      t0 = time;
      have_t0 = true;
    }
    if (got == 2 && count == 1 && have_t0) slot.deltat = time - t0;
    values[static_cast<std::size_t>(count)] = got == 2 ? value : time;
    ++count;
  }
  for (long i = 0; i < count; ++i)
    slot.y[static_cast<std::size_t>(i)] = values[static_cast<std::size_t>(i)];
  // One more read tells whether data remains past a full slot.
  const int extra = read_pair(p, file, &time, &value);
  slot.num_ptst = count;

  if (count == max_num_pts && extra > 0) {
    con.print("Warning - array is filled up, but not at end of file;\n");
    pause(p, con);
  }
  if (count == 0) con.print("Warning - no data was found\n");
  if (count < max_num_pts) {
    con.print("Warning: number of points is less than max_num_pts;\n");
    con.print("Fill remaining values with 0s? 1=Y, 0=N:\n");
    con.refresh();
    int fill = 0;
    get_integer(con, &fill);
    if (fill == 1) {
      for (long i = count; i < max_num_pts; ++i) slot.y[static_cast<std::size_t>(i)] = 0.0L;
      slot.num_ptst = max_num_pts;
    }
  }
  if (interval_mismatch(p, slot.deltat)) {
    con.print("Warning - delt in file doesnt match program value;\n");
    pause(p, con);
  }
  std::fclose(file);

  slot.i_truncatet = p.wf.nptst;
  slot.i_shift_wf = 0;
  slot.scale_wf = 1.0L;
  slot.scale_wf_old = 1.0L;
  return true;
}

void save_time_waveform(Program& p, Console& con, SlotRef slot) {
  con_printf(con, "%s%d%s", "Enter file name for time waveform ", slot.number, ":\n");
  con.refresh();
  std::string name;
  read_name_word(con, name);
  if (!choose_save_target(con, name)) {
    pause(p, con);
    return;
  }
  // The comment comes before anything is written, so leaving here changes no file.
  std::string comment;
  read_comment(con, false, comment);
  const bool saved = save_file(con, name, binary_mode(p) ? "wb" : "w", [&](std::FILE* file) {
    if (!write_header(p, file, comment)) return false;
    for (long k = 0; k < slot.num_ptst; ++k)
      if (!write_point(p, file, static_cast<long double>(k) * slot.deltat,
                       slot.y[static_cast<std::size_t>(k)]))
        return false;
    return binary_mode(p) || std::fprintf(file, "y\n") >= 0;
  });
  if (!saved) pause(p, con);
}

void readt_from_disk(Program& p, Console& con) {
  for (;;) {
    con.clear();
    con.print("1 to read time waveform 1 from disk\n");
    con.print("2 to read time waveform 2 from disk\n");
    con.print("B to read both time waveforms from disk\n");
    con.print("Q to return to time waveforms menu\n");
    con.print("Enter Command :\n");
    con.refresh();
    const int key = upper_key(con);
    if (key == 'Q') return;
    if (key == '1' || key == 'B') {
      if (read_time_waveform(p, con, p.wf.slot(1), p.num_meas_points, p.wf.file_name))
        p.wf.i_shift_wf1 = 0;
    }
    if (key == '2' || key == 'B') {
      if (read_time_waveform(p, con, p.wf.slot(2), p.num_meas_points, p.wf.file_name))
        p.wf.i_shift_wf2 = 0;
    }
  }
}

void savet_to_disk(Program& p, Console& con) {
  for (;;) {
    con.clear();
    con.print("1 to save time waveform 1 to disk\n");
    con.print("2 to save time waveform 2 to disk\n");
    con.print("B to save both time waveforms to disk\n");
    con.print("Q to return to time waveforms menu\n");
    con.print("Enter Command :\n");
    con.refresh();
    const int key = upper_key(con);
    if (key == 'Q') return;
    if (key == '1' || key == 'B') save_time_waveform(p, con, p.wf.slot(1));
    if (key == '2' || key == 'B') save_time_waveform(p, con, p.wf.slot(2));
  }
}

}  // namespace refx
