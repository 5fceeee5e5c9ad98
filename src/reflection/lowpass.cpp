#include "reflection/lowpass.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "console/console_io.h"
#include "core/program.h"
#include "core/worker_pool.h"
#include "core/xmath.h"
#include "reflection/minimum_phase.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_steps.h"
#include "spectral/fft.h"
#include "spectral/power.h"

namespace refx {

namespace {

constexpr long kMaxButterworthOrder = 10;
// Per-bin loops are split over the worker pool from this many bins on.
constexpr long kParallelBins = 2048;

// Keys A and B: the low-pass response, or its inverse, applied to one waveform.
void apply_lpf_to_waveform(Program& p, Console& con, bool inverse) {
  Reflection& r = p.rrc;
  TransformWork& w = p.work;
  r.rrc_error = 0;
  const DestinationMarks before = read_source_and_destination(
      p, con,
      inverse ? "Enter waveform to apply inverse lpf (1 or 2):\n"
              : "Enter waveform to apply lpf (1 or 2):\n",
      inverse ? "Enter destination for waveform after applying inverse lpf (1 or 2):\n"
              : "Enter destination for waveform after applying lpf (1 or 2):\n");
  const long n = p.wf.nptst;
  FftPlan& plan = prepare_transform(w, n, p.pi);
  gather_truncated_source(p);
  plan.run(0, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(), &w.max_fft_mag);
  prepare_lpf_response(p, con, false, 0);

  for (long i = 0; i < n; ++i) {
    cmplx l = lpf_value(p, i);
    const long double xr = w.fftr[i];
    const long double xi = w.ffti[i];
    if (!inverse) {
      w.xinr[i] = xr * l.re - xi * l.im;
      w.xini[i] = xr * l.im + xi * l.re;
      continue;
    }
    if (r.rrc_lim_lpf_inv > 0) {
      r.mag_rrc_lim_lpf_inv = magnitude(l.re, l.im);
      if (r.mag_rrc_lim_lpf_inv == 0) {
        refuse_zero_divisor(p, con, before);
        return;
      }
      if (std::fabs(bin_frequency(p, i)) <= r.fmax_rrc_lim_lpf_inv) {
        r.save_mag_rrc_lim_lpf_inv = r.mag_rrc_lim_lpf_inv;
      } else {
        l.re = scale_by_ratio(l.re, r.save_mag_rrc_lim_lpf_inv, r.mag_rrc_lim_lpf_inv);
        l.im = scale_by_ratio(l.im, r.save_mag_rrc_lim_lpf_inv, r.mag_rrc_lim_lpf_inv);
      }
    }
    if (!divide_complex(xr, xi, l.re, l.im, &w.xinr[i], &w.xini[i])) {
      refuse_zero_divisor(p, con, before);
      return;
    }
  }

  plan.run(1, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(), &w.max_fft_mag);
  if (!result_is_finite(p)) {
    refuse_not_finite(p, con, before);
    return;
  }
  if (store_result(p))
    con_printf(con, "%s%d%s",
               inverse ? "Warning - imaginary part in waveform after applying inverse lpf"
                       : "Warning - imaginary part in waveform after applying lpf",
               r.rrc_dest, "\n");
  else
    con_printf(con, "%s%d%s%d%s",
               inverse ? "Inverse lpf was applied to waveform " : "lpf was applied to waveform ",
               r.rrc_src, " and result stored in waveform ", r.rrc_dest, "\n");
  pause(p, con);
}

}  // namespace

long double bin_frequency(const Program& p, long i) {
  const long n = p.wf.nptst;
  const long s = i <= n / 2 ? i : i - n;
  return p.delf_minp * static_cast<long double>(s);
}

long double lpf_ratio_n(long double abs_freq, long double f0, long order) {
  const long double ratio = abs_freq / f0;
  long double ratio_n = 1;
  // Once the product is 0 or infinite, or the ratio exactly 1, no further factor changes it.
  if (ratio == 1) return ratio_n;
  for (long j = 0; j < order; ++j) {
    ratio_n *= ratio;
    if (ratio_n == 0 || std::isinf(ratio_n)) break;
  }
  return ratio_n;
}

long double held_lpf_ratio(const Program& p, long i, bool hold, long double fh, long double* held) {
  const long double abs_freq = std::fabs(bin_frequency(p, i));
  if (!hold || abs_freq <= fh) *held = lpf_ratio_n(abs_freq, p.rrc.f0_lpf, p.rrc.n_lpf);
  return *held;
}

void calculate_butterworth_lpf(Program& p, Console& con, long blpf_order, long double blpf_f0,
                               long double* blpf_out_re, long double* blpf_out_im) {
  TransformWork& w = p.work;
  const long n = p.wf.nptst;
  const long double pi = p.pi;
  // The pole and residue arrays hold 10; callers never ask for more.
  const long order = std::min(blpf_order, kMaxButterworthOrder);
  std::array<cmplx, kMaxButterworthOrder> pole{};
  std::array<cmplx, kMaxButterworthOrder> residue{};

  const long double omega0 = 2.0L * pi * blpf_f0;
  for (long i = 1; i <= order; ++i) {
    const long double theta =
        (pi * static_cast<long double>(2 * i - 1) / 2.0L) / static_cast<long double>(order);
    long double s = 0, c = 0;
    xsincos(theta, &s, &c);
    pole[i - 1] = {-omega0 * s, omega0 * c};
  }
  for (long i = 0; i < order; ++i) {
    cmplx res{1.0L, 0.0L};
    for (long j = 0; j < order; ++j) {
      res = cmul(res, cmplx{omega0, 0.0L});
      if (j != i) res = cdiv(res, csub(pole[i], pole[j]));
    }
    residue[i] = res;
  }

  // A term whose exponential is certainly zero (xexp gives 0 below -11400) adds a signed
  // zero to the sum, which never changes it (the sum starts at +0 and so is never -0), as
  // long as the residue and the angle are finite; so those terms are skipped, which is most
  // of them late in a long response. The bins are independent and split over the pool.
  std::array<bool, kMaxButterworthOrder> residue_finite{};
  for (long j = 0; j < order; ++j)
    residue_finite[j] = std::isfinite(residue[j].re) && std::isfinite(residue[j].im);
  long part_errors[64] = {};
  parallel_for(n, kParallelBins, [&](long k0, long k1, int part) {
    for (long k = k0; k < k1; ++k) {
      const long double t = static_cast<long double>(k) * p.delt;
      cmplx x{0.0L, 0.0L};
      for (long j = 0; j < order; ++j) {
        const long double rate = pole[j].re * t;
        const long double angle = pole[j].im * t;
        if (rate < -11400.0L && residue_finite[j] && std::isfinite(angle)) continue;
        const cmplx decay{xexp(rate), 0.0L};
        cmplx turn{0.0L, 0.0L};
        xsincos(angle, &turn.im, &turn.re);
        x = cadd(x, cmul(residue[j], cmul(decay, turn)));
      }
      w.xinr[k] = p.delt * x.re;
      w.xini[k] = 0;
      const long double v = p.delt * x.im;
      if (std::fabs(w.xinr[k]) > 1e-5L && std::fabs(v / w.xinr[k]) > 1e-5L) ++part_errors[part];
    }
  });
  long num_imag_err = 0;
  for (long e : part_errors) num_imag_err += e;
  if (num_imag_err > 0) {
    con_printf(con, "%s%ld%s", "Warning - imaginary part of Butterworth LPF at ", num_imag_err,
               "different times\n");
    pause_colon(p, con);
  }

  long double max_mag = 0;
  prepare_transform(w, n, pi).run(2, w.xinr.data(), w.xini.data(), blpf_out_re, blpf_out_im,
                                  &max_mag);
}

void prepare_lpf_response(Program& p, Console& con, bool hold, long double fh) {
  Reflection& r = p.rrc;
  TransformWork& w = p.work;
  if (r.use_lpf_rrc <= 0) return;
  if (r.rrc_lpf_type == 1) {
    calculate_butterworth_lpf(p, con, r.n_lpf, r.f0_lpf, r.lpfr.data(), r.lpfi.data());
  } else if (r.rrc_lpf_type == 2) {
    long double save_ratio = 0;
    for (long i = 0; i < p.wf.nptst; ++i) {
      w.xinr[i] = 1.0L / (1.0L + held_lpf_ratio(p, i, hold, fh, &save_ratio));
      w.xini[i] = 0;
    }
    calc_minp(p, con, w.xinr.data(), w.xini.data(), r.lpfr.data(), r.lpfi.data());
  }
}

cmplx lpf_value(const Program& p, long i) {
  const Reflection& r = p.rrc;
  if (r.use_lpf_rrc <= 0) return {1.0L, 0.0L};
  if (r.rrc_lpf_type == 0) {
    long double unused = 0;
    return {1.0L / (1.0L + held_lpf_ratio(p, i, false, 0, &unused)), 0.0L};
  }
  return {r.lpfr[i], r.lpfi[i]};
}

void apply_lpf(Program& p, Console& con) {
  apply_lpf_to_waveform(p, con, false);
}

void apply_inverse_lpf(Program& p, Console& con) {
  apply_lpf_to_waveform(p, con, true);
}

}  // namespace refx
