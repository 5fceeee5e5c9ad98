#pragma once
// All program-wide state, kept for the whole run: one object, created once by main.
#include <memory>

#include "core/build_constants.h"
#include "plot/plot_params.h"
#include "reflection/reflection_state.h"
#include "spectral/spectral_state.h"
#include "waveforms/waveform_state.h"

namespace refx {

class PlotWindow;

struct Program {
  const BuildConstants* build = &kLinuxBuild;
  PlotWindow* plot_window = nullptr;  // the platform's plot layer; null where none exists

  // Configuration and the values derived from it.
  long double sampling_rate = 0;
  long num_meas_points = 0;
  int maxx = 0, maxy = 0;  // Linux plot window size
  int foreground_rgb[3] = {0, 0, 0};
  int background_rgb[3] = {0, 0, 0};
  int plot_area_divisor[4] = {0, 0, 0, 0};  // left, right, bottom, top edges
  int plot_area_multiplier[4] = {0, 0, 0, 0};
  long double delt = 0;
  long double delf_minp = 0;
  float deltat = 0;  // delt in single precision

  // Constants.
  long double pi = 0;
  float ln_10 = 0;
  long double ln_2 = 0;

  int i_rw_bin_ascii = 2;  // 1 binary-ri, 2 ascii-magph
  char ascii_code_continue = 0;

  TimeWaveforms wf;
  TransformWork work;
  FftSlots fft;
  Reflection rrc;
  PlotState plot;
};

// Program is tens of megabytes: always on the heap, never on the stack.
inline std::unique_ptr<Program> make_program() {
  return std::make_unique<Program>();
}

}  // namespace refx
