#pragma once
// The two time waveform slots, their status, and the window function table.
#include <array>
#include <string>

#include "core/samples.h"

namespace refx {

// One slot seen through references, so one routine serves both slots.
struct SlotRef {
  int number;  // 1 or 2
  Samples& y;
  long& num_ptst;
  long double& deltat;
  long& i_shift_wf;
  long& i_truncatet;
  long double& scale_wf;
  long double& scale_wf_old;
};

struct TimeWaveforms {
  Samples y1a{}, y2a{};
  long num_ptst1 = 0, num_ptst2 = 0;
  long double deltat1 = 0, deltat2 = 0;
  long i_shift_wf1 = 0, i_shift_wf2 = 0;
  long i_truncatet1 = 0, i_truncatet2 = 0;
  long double scale_wf1 = 1.0L, scale_wf2 = 1.0L;
  long double scale_wf1_old = 1.0L, scale_wf2_old = 1.0L;
  long nptst = 0;  // working length of every slot: num_meas_points

  int i_wfm_scale = 0;
  std::string file_name;  // last name typed at a waveform read prompt

  // Window function (one-sided taper) set up by the window menu.
  int window_type = 0;  // 0 none, 1 Bartlett .. 5 Parzen
  long i_window_1 = 0, i_window_2 = 0;
  std::array<long double, 10000> window{};

  SlotRef slot(int iwf) {
    if (iwf == 2)
      return {2, y2a, num_ptst2, deltat2, i_shift_wf2, i_truncatet2, scale_wf2, scale_wf2_old};
    return {1, y1a, num_ptst1, deltat1, i_shift_wf1, i_truncatet1, scale_wf1, scale_wf1_old};
  }
};

}  // namespace refx
