#pragma once
// The compression filter, its generation settings, the low-pass filter and the
// compression / de-compression settings.
#include <string>

#include "core/samples.h"

namespace refx {

struct Reflection {
  // Compression filter.
  Samples Re_rrc_filt{}, Im_rrc_filt{};
  int rrc_filt = 0;  // 0 none, 1/2 generated from waveform 1/2, 3 read from a file
  std::string rrc_filt_filename;
  std::string rrc_filt_save_filename;
  int rrc_error = 0;

  // Generation settings.
  int enable_fmax_rrc_compress = 0;
  long double fmax_rrc_compress = 0;
  int i_constant_phase_slope = 1;
  long n_del_om_fmax_compress = 100;
  long double phase_comp_fmax_compress = 1.0L;
  int minp_option = 0;
  long double check_n_del_om = 0;

  // Band-limiting working values, kept between generations.
  int i_trans_fmax_compress = 0;
  long double save_mag_fmax_compress = 0;
  long double del_om_fmax_compress = 0;
  long i_save_fmax_rrc_compress = 0;
  long double om_save_fmax_rrc_compress = 0;
  long double om_tot_fmax_rrc_compress = 0;
  long n_tot_fmax_rrc_compress = 0;
  long double rn_tot_fmax_rrc_compress = 0;
  int sign_om_tot_fmax_rrc_compress = 0;
  long double arg_fmax_rrc_compress = 0;

  // Compression and de-compression.
  int rrc_src = 0, rrc_dest = 0;
  long n1_rrc = 0, n2_rrc = 0;
  int rrc_int_type = 0;  // 0 inclusive, 1 exclusive
  int rrc_epzc_enable = 1;
  long double rrc_epzc_value = 0;
  int enable_fmax_rrc_decompress = 0;
  long double fmax_rrc_decompress = 0;

  // Optional low-pass filter.
  int use_lpf_rrc = 0;
  int rrc_lpf_type = 2;  // 0 digital, 1 Butterworth, 2 minimum phase digital
  long n_lpf = 0;
  long n_lpf_read = 0;  // the order as typed, before the Butterworth limit
  long double f0_lpf = 0;
  int rrc_lim_lpf_inv = 0;
  long double fmax_rrc_lim_lpf_inv = 0;
  long double mag_rrc_lim_lpf_inv = 0, save_mag_rrc_lim_lpf_inv = 0;
  int max_butterworth_order_print = 10;
  Samples lpfr{}, lpfi{};
};

}  // namespace refx
