#include "reflection/rrc_steps.h"

#include <cmath>

#include "console/console_io.h"
#include "core/program.h"

namespace refx {

void say(Console& con, const char* text) {
  con.print(text);
  con.refresh();
}

void pause_colon(Program& p, Console& con) {
  say(con, "Press any A/N key to continue:\n");
  p.ascii_code_continue = static_cast<char>(con.wait_for_key());
}

void read_waveform_number(Console& con, const char* prompt, int* number) {
  say(con, prompt);
  get_integer_in_range(con, number, 1, 2, "Error - enter again:\n");
}

bool points_are_power_of_two(Program& p, Console& con) {
  const long n = p.wf.nptst;
  long j = 1;
  while (j < n) j *= 2;
  if (j == n) return true;
  say(con, "Error - number of points in time waveform is not a power of 2;\n");
  say(con, "Can't proceed with compression filter generation\n");
  pause_colon(p, con);
  p.rrc.rrc_error = 1;
  return false;
}

DestinationMarks read_source_and_destination(Program& p, Console& con, const char* src_prompt,
                                             const char* dest_prompt) {
  Reflection& r = p.rrc;
  read_waveform_number(con, src_prompt, &r.rrc_src);
  read_waveform_number(con, dest_prompt, &r.rrc_dest);
  SlotRef src = p.wf.slot(r.rrc_src);
  SlotRef dest = p.wf.slot(r.rrc_dest);
  DestinationMarks before{dest.i_shift_wf, dest.i_truncatet, dest.scale_wf};
  if (r.rrc_src != r.rrc_dest) {
    dest.i_shift_wf = src.i_shift_wf;
    dest.scale_wf = src.scale_wf;
  }
  dest.i_truncatet = p.wf.nptst;
  return before;
}

void restore_destination_marks(Program& p, const DestinationMarks& marks) {
  SlotRef dest = p.wf.slot(p.rrc.rrc_dest);
  dest.i_shift_wf = marks.i_shift_wf;
  dest.i_truncatet = marks.i_truncatet;
  dest.scale_wf = marks.scale_wf;
}

void gather_truncated_source(Program& p) {
  SlotRef src = p.wf.slot(p.rrc.rrc_src);
  for (long i = 0; i < p.wf.nptst; ++i) {
    p.work.xini[i] = 0;
    p.work.xinr[i] = i < src.i_truncatet ? src.y[i] : 0.0L;
  }
}

bool result_is_finite(const Program& p) {
  for (long i = 0; i < p.wf.nptst; ++i)
    if (!std::isfinite(p.work.fftr[i]) || !std::isfinite(p.work.ffti[i])) return false;
  return true;
}

bool store_result(Program& p) {
  SlotRef dest = p.wf.slot(p.rrc.rrc_dest);
  bool imaginary = false;
  for (long i = 0; i < p.wf.nptst; ++i) {
    dest.y[i] = p.work.fftr[i];
    if (!(std::fabs(p.work.ffti[i]) <= 1e-8L)) imaginary = true;
  }
  return imaginary;
}

void refuse_not_finite(Program& p, Console& con, const DestinationMarks& marks) {
  con_printf(con, "%s%d%s", "Error - result holds values that are not finite numbers; waveform ",
             p.rrc.rrc_dest, " was not changed\n");
  con.refresh();
  pause(p, con);
  p.rrc.rrc_error = 1;
  restore_destination_marks(p, marks);
}

void refuse_zero_divisor(Program& p, Console& con, const DestinationMarks& marks) {
  say(con,
      "Error - compression filter or low-pass response has a zero bin; operation not "
      "completed\n");
  pause(p, con);
  p.rrc.rrc_error = 1;
  restore_destination_marks(p, marks);
}

}  // namespace refx
