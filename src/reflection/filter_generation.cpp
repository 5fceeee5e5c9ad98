#include "reflection/filter_generation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "console/console_io.h"
#include "core/program.h"
#include "core/xmath.h"
#include "reflection/minimum_phase.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_steps.h"
#include "spectral/fft.h"
#include "spectral/power.h"

namespace refx {

namespace {

// Phase of a filter bin, in (-pi/2, 3pi/2).
long double bin_phase(long double re, long double im, long double pi) {
  long double phase = std::atan(im / re);
  if (re < 0) phase += pi;
  return phase;
}

// Slope of the phase below fmax, run at the transition bin kt: the mean of the last n
// bin-to-bin steps (fewer when fewer lie below kt), times the compensation factor, then
// rescaled so that the straight line meets a whole multiple of pi at the Nyquist bin.
void estimate_phase_slope(Program& p, long kt) {
  Reflection& r = p.rrc;
  const long double pi = p.pi;
  const long double two_pi = 2.0L * pi;
  const long n = p.wf.nptst;
  const long steps = std::min(r.n_del_om_fmax_compress, kt - 1);

  long double sum = 0;
  for (long j = kt - steps - 1; j <= kt - 2; ++j) {
    const long double om1_fmax_compress = bin_phase(r.Re_rrc_filt[j], r.Im_rrc_filt[j], pi);
    const long double om2_fmax_compress = bin_phase(r.Re_rrc_filt[j + 1], r.Im_rrc_filt[j + 1], pi);
    long double om21_fmax_compress = om2_fmax_compress - om1_fmax_compress;
    if (om21_fmax_compress < pi) om21_fmax_compress += two_pi;
    if (om21_fmax_compress > pi) om21_fmax_compress -= two_pi;
    sum += om21_fmax_compress;
  }
  r.del_om_fmax_compress =
      steps > 0 ? r.phase_comp_fmax_compress * sum / static_cast<long double>(steps) : 0.0L;

  r.i_save_fmax_rrc_compress = kt - 1;
  r.om_save_fmax_rrc_compress = bin_phase(r.Re_rrc_filt[kt - 1], r.Im_rrc_filt[kt - 1], pi);
  r.om_tot_fmax_rrc_compress = r.om_save_fmax_rrc_compress +
                               r.del_om_fmax_compress * static_cast<long double>(n / 2 - kt + 1);
  r.n_tot_fmax_rrc_compress = Round_long(r.om_tot_fmax_rrc_compress / pi);
  r.rn_tot_fmax_rrc_compress = static_cast<long double>(r.n_tot_fmax_rrc_compress);
  r.sign_om_tot_fmax_rrc_compress = r.n_tot_fmax_rrc_compress % 2 == 0 ? 1 : -1;
  // A line that already ends at zero needs no rescaling (and would divide by zero).
  if (r.om_tot_fmax_rrc_compress != 0)
    r.del_om_fmax_compress =
        r.del_om_fmax_compress * r.rn_tot_fmax_rrc_compress * (pi / r.om_tot_fmax_rrc_compress);
}

// Scales bin k to the held magnitude, keeping its phase.
void hold_magnitude(Reflection& r, long k) {
  const long double mag_fmax_compress = magnitude(r.Re_rrc_filt[k], r.Im_rrc_filt[k]);
  r.Re_rrc_filt[k] = scale_by_ratio(r.Re_rrc_filt[k], r.save_mag_fmax_compress, mag_fmax_compress);
  r.Im_rrc_filt[k] = scale_by_ratio(r.Im_rrc_filt[k], r.save_mag_fmax_compress, mag_fmax_compress);
}

// Replaces bin k, which lies above fmax.
void band_limit_bin(Program& p, long k) {
  Reflection& r = p.rrc;
  const long n = p.wf.nptst;
  const bool constant_slope = r.i_constant_phase_slope > 0;
  if (r.i_trans_fmax_compress == 0) {
    r.i_trans_fmax_compress = 1;
    r.save_mag_fmax_compress = magnitude(r.Re_rrc_filt[k - 1], r.Im_rrc_filt[k - 1]);
    if (constant_slope) estimate_phase_slope(p, k);
  }
  if (k < n / 2) {
    if (!constant_slope) {
      hold_magnitude(r, k);
    } else {
      r.arg_fmax_rrc_compress =
          r.om_save_fmax_rrc_compress +
          r.del_om_fmax_compress * static_cast<long double>(k - r.i_save_fmax_rrc_compress);
      long double s = 0, c = 0;
      xsincos(r.arg_fmax_rrc_compress, &s, &c);
      r.Re_rrc_filt[k] = r.save_mag_fmax_compress * c;
      r.Im_rrc_filt[k] = r.save_mag_fmax_compress * s;
    }
  } else if (k == n / 2) {
    if (!constant_slope) {
      hold_magnitude(r, k);
    } else {
      r.Re_rrc_filt[k] = r.sign_om_tot_fmax_rrc_compress * r.save_mag_fmax_compress;
      r.Im_rrc_filt[k] = 0;
    }
  } else {
    r.Re_rrc_filt[k] = r.Re_rrc_filt[n - k];
    r.Im_rrc_filt[k] = -r.Im_rrc_filt[n - k];
  }
}

bool filter_is_finite(const Program& p) {
  for (long k = 0; k < p.wf.nptst; ++k)
    if (!std::isfinite(p.rrc.Re_rrc_filt[k]) || !std::isfinite(p.rrc.Im_rrc_filt[k])) return false;
  return true;
}

}  // namespace

long Round_long(long double value) {
  constexpr long kMax = std::numeric_limits<long>::max();
  constexpr long kMin = std::numeric_limits<long>::min();
  if (value != value) return 0;
  if (value >= static_cast<long double>(kMax)) return kMax;
  if (value <= static_cast<long double>(kMin)) return kMin;
  long whole = static_cast<long>(value);
  const long double rest = value - static_cast<long double>(whole);
  if (rest >= 0.5L) ++whole;
  if (rest <= -0.5L) --whole;
  return whole;
}

bool form_compression_filter(Program& p, Console& con, const Samples& reference) {
  TransformWork& w = p.work;
  Reflection& r = p.rrc;
  const long n = p.wf.nptst;
  FftPlan& plan = prepare_transform(w, n, p.pi);
  for (long i = 0; i < n; ++i) {
    w.xinr[i] = reference[i];
    w.xini[i] = 0;
  }
  plan.run(0, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(), &w.max_fft_mag);

  // A bin without a reciprocal refuses the whole filter before any of it is written.
  for (long k = 0; k < n; ++k)
    if (w.fftr[k] == 0 && w.ffti[k] == 0) return false;

  const long double rn = static_cast<long double>(n);
  const bool band_limit = r.enable_fmax_rrc_compress > 0;
  r.i_trans_fmax_compress = 0;
  for (long k = 0; k < n; ++k) {
    const long double xr = w.fftr[k];
    const long double xi = w.ffti[k];
    long double inv_re = 0, inv_im = 0;
    reciprocal(xr, xi, &inv_re, &inv_im);
    r.Re_rrc_filt[k] = inv_re / rn;
    r.Im_rrc_filt[k] = inv_im / rn;
    const long s = k <= n / 2 ? k : k - n;
    const long double f = static_cast<long double>(s) * p.delf_minp;
    // Bin 0 is never above a (positive) fmax; the guard keeps bin k-1 inside the array.
    if (band_limit && k > 0 && std::fabs(f) > r.fmax_rrc_compress) band_limit_bin(p, k);
  }

  if (r.minp_option == 1) {
    calc_minp(p, con, r.Re_rrc_filt.data(), r.Im_rrc_filt.data(), w.fftr.data(), w.ffti.data());
    for (long k = 0; k < n; ++k) {
      r.Re_rrc_filt[k] = w.fftr[k];
      r.Im_rrc_filt[k] = w.ffti[k];
    }
  }
  return true;
}

void generate_filter(Program& p, Console& con) {
  Reflection& r = p.rrc;
  r.rrc_error = 0;
  // Read into a local: a refused generation leaves rrc_filt as it was.
  int iwf = r.rrc_filt;
  read_waveform_number(con, "Enter waveform number to generate filter (1 or 2):\n", &iwf);
  points_are_power_of_two(p, con);
  // The filter and its settings as they were, to put back if the new one is not finite.
  const auto before = std::make_unique<Reflection>(r);
  if (r.rrc_error == 0 && !form_compression_filter(p, con, p.wf.slot(iwf).y)) {
    say(con, "Error - reference spectrum has a zero bin\n");
    r.rrc_error = 1;
  }
  if (r.rrc_error == 0 && !filter_is_finite(p)) {
    r = *before;
    say(con, "Error - compression filter has values that are not finite numbers\n");
    r.rrc_error = 1;
  }
  if (r.rrc_error != 0) {
    say(con, "Error -- compression filter was not generated\n");
    pause(p, con);
    return;
  }
  r.rrc_filt = iwf;
  say(con, "Compression filter has been generated\n");
  pause(p, con);
}

}  // namespace refx
