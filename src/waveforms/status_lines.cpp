#include "waveforms/status_lines.h"

namespace refx {

namespace {

std::string slot_lines(int number, long shift, long truncate, long nptst, long double scale) {
  const std::string name = "***Waveform " + std::to_string(number);
  const bool shifted = shift != 0;
  const bool truncated = truncate < nptst;
  std::string lines;
  if (shifted && truncated)
    lines += name + " is shifted and truncated***\n";
  else if (shifted)
    lines += name + " is shifted***\n";
  else if (truncated)
    lines += name + " is truncated***\n";
  // Exact comparison: a factor that only nearly cancels still counts as scaled.
  if (scale != 1.0L) lines += name + " is scaled***\n";
  return lines;
}

}  // namespace

std::string waveform_status_lines(const TimeWaveforms& wf) {
  return slot_lines(1, wf.i_shift_wf1, wf.i_truncatet1, wf.nptst, wf.scale_wf1) +
         slot_lines(2, wf.i_shift_wf2, wf.i_truncatet2, wf.nptst, wf.scale_wf2);
}

}  // namespace refx
