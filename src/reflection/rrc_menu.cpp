#include "reflection/rrc_menu.h"

#include <cctype>

#include "console/console_io.h"
#include "core/program.h"
#include "reflection/filter_file_actions.h"
#include "reflection/rrc_actions.h"
#include "waveforms/status_lines.h"

namespace refx {

namespace {

const char* enabled_or_disabled(bool enabled) {
  return enabled ? " (enabled)\n" : " (disabled)\n";
}

void print_filter_lines(const Reflection& r, Console& con) {
  con.print("G to generate compression filter");
  con.print(r.rrc_filt == 1 || r.rrc_filt == 2 ? " (internally generated)\n" : "\n");
  con.print("E to toggle fmax for compression filter generation");
  con.print(enabled_or_disabled(r.enable_fmax_rrc_compress == 1));
  if (r.enable_fmax_rrc_compress == 1) {
    con_printf(con, "%s%Le%s",
               "N to set fmax for compression filter generation (fmax = ", r.fmax_rrc_compress,
               ")\n");
    con.print("M to toggle fmax phase entension method ");
    con.print(r.i_constant_phase_slope > 0 ? "(constant phase slope)\n"
                                           : "(maintain phase of compression filter)\n");
    if (r.i_constant_phase_slope > 0) {
      con_printf(con, "%s%ld%s", "O to set number of points for phase average (",
                 r.n_del_om_fmax_compress, ")\n");
      con_printf(con, "%s%Le%s", "U to set phase slope compensation factor (",
                 r.phase_comp_fmax_compress, ")\n");
    }
  }
  con.print("H to toggle compression filter minimum phase option");
  con.print(enabled_or_disabled(r.minp_option != 0));
  con.print("R to read compression filter from a file");
  if (r.rrc_filt == 3)
    con_printf(con, "%s%s%s", " (read from ", r.rrc_filt_filename.c_str(), ")\n");
  else
    con.print("\n");
  if (r.rrc_filt > 0) con.print("S to save compression filter to a file\n");
}

void print_lowpass_lines(const Program& p, Console& con) {
  const Reflection& r = p.rrc;
  con.print(p.build->rrc_lpf_toggle_line);
  con.print(enabled_or_disabled(r.use_lpf_rrc == 1));
  if (r.use_lpf_rrc != 1) return;
  con.print("P to set parameters of optional low-pass filter");
  if (r.n_lpf >= 1 && r.f0_lpf > 0)
    con_printf(con, "%s%ld%s%Le%s", " (order=", r.n_lpf, ", f0=", r.f0_lpf, ")\n");
  else
    con.print("\n");
  con.print("Y to toggle type of optional low-pass filter");
  if (r.rrc_lpf_type == 0)
    con.print(" (digital)\n");
  else if (r.rrc_lpf_type == 1)
    con.print(" (Butterworth)\n");
  else if (r.rrc_lpf_type == 2)
    con.print(" (minimum phase digital)\n");
  con.print("A to apply present lpf to a waveform\n");
  con.print("B to apply present inverse lpf to a waveform\n");
  con.print("J to toggle limiting of inverse lpf application");
  con.print(enabled_or_disabled(r.rrc_lim_lpf_inv != 0));
  if (r.rrc_lim_lpf_inv > 0)
    con_printf(con, "%s%Le%s", "K to set fmax for limiting inverse lpf application (",
               r.fmax_rrc_lim_lpf_inv, ")\n");
}

void print_decompression_lines(const Reflection& r, Console& con) {
  if (r.rrc_filt <= 0) return;
  con.print("F to toggle fmax for de-compression");
  con.print(enabled_or_disabled(r.enable_fmax_rrc_decompress == 1));
  if (r.enable_fmax_rrc_decompress == 1)
    con_printf(con, "%s%Le%s", "X to set fmax for de-compression (fmax = ", r.fmax_rrc_decompress,
               ")\n");
  con.print("C to compress a waveform\n");
  con.print("I to setup waveform interval for decompression");
  if (r.n1_rrc < 1 || r.n2_rrc < 1)
    con.print("\n");
  else
    con_printf(con, "%s%ld%s%ld%s", " (", r.n1_rrc, ",", r.n2_rrc, ")\n");
  con.print("T to toggle decompression interval type");
  if (r.rrc_int_type == 0)
    con.print(" (inclusive)\n");
  else if (r.rrc_int_type == 1)
    con.print(" (exclusive)\n");
  if (r.n1_rrc > 0 && r.n2_rrc > 0) con.print("D to de-compress a waveform\n");
  con.print("Z to toggle endpoint zero correction for de-compression");
  con.print(r.rrc_epzc_enable < 1 ? " (disabled)\n" : " (enabled)\n");
}

// Runs the command of one key; keys whose condition does not hold do nothing.
void dispatch(Program& p, Console& con, int key) {
  const Reflection& r = p.rrc;
  const bool fmax_gen = r.enable_fmax_rrc_compress > 0;
  const bool slope = fmax_gen && r.i_constant_phase_slope > 0;
  const bool lpf = r.use_lpf_rrc > 0;
  const bool filt = r.rrc_filt > 0;
  switch (key) {
    case 'M':
      if (fmax_gen) toggle_phase_method(p, con);
      break;
    case 'U':
      if (slope) set_phase_compensation(p, con);
      break;
    case 'O':
      if (slope) set_phase_average_points(p, con);
      break;
    case 'H':
      toggle_minimum_phase(p, con);
      break;
    case 'J':
      if (lpf) toggle_lpf_inverse_limiting(p, con);
      break;
    case 'K':
      if (lpf) set_lpf_inverse_limit(p, con);
      break;
    case 'A':
      if (lpf) apply_lpf(p, con);
      break;
    case 'B':
      if (lpf) apply_inverse_lpf(p, con);
      break;
    case 'Z':
      if (filt) toggle_endpoint_correction(p, con);
      break;
    case 'C':
      if (filt) compress_waveform(p, con);
      break;
    case 'D':
      if (filt && r.n1_rrc > 0 && r.n2_rrc > 0) decompress_waveform(p, con);
      break;
    case 'G':
      generate_filter(p, con);
      break;
    case 'R':
      read_filter_action(p, con);
      break;
    case 'S':
      if (filt) save_filter_action(p, con);
      break;
    case 'E':
      toggle_fmax_compress(p, con);
      break;
    case 'F':
      if (filt) toggle_fmax_decompress(p, con);
      break;
    case 'N':
      set_fmax_compress(p, con);
      break;
    case 'X':
      if (filt && r.enable_fmax_rrc_decompress == 1) set_fmax_decompress(p, con);
      break;
    case 'Y':
      if (r.use_lpf_rrc == 1) toggle_lpf_type(p, con);
      break;
    case 'P':
      if (r.use_lpf_rrc == 1) set_lpf_parameters(p, con);
      break;
    case 'L':
      toggle_lpf(p, con);
      break;
    case 'T':
      if (filt) toggle_interval_type(p, con);
      break;
    case 'I':
      if (filt) set_interval(p, con);
      break;
    default:
      break;
  }
}

}  // namespace

void rrc_menu(Program& p, Console& con) {
  p.rrc.rrc_error = 0;
  int quit_rrc = 0;
  while (quit_rrc == 0) {
    con.clear();
    print_filter_lines(p.rrc, con);
    print_lowpass_lines(p, con);
    print_decompression_lines(p.rrc, con);
    con.print("Q to return to time waveforms menu\n");
    con.print(waveform_status_lines(p.wf));
    con.print("\n");
    con.print("Enter Command :\n");
    con.refresh();
    const int key = std::toupper(static_cast<unsigned char>(con.read_key()));
    if (key == 'Q')
      quit_rrc = 1;
    else
      dispatch(p, con, key);
  }
}

}  // namespace refx
