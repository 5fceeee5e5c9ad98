#include "reflection/compression.h"

#include <cmath>

#include "console/console_io.h"
#include "core/program.h"
#include "core/worker_pool.h"
#include "reflection/lowpass.h"
#include "reflection/rrc_actions.h"
#include "reflection/rrc_steps.h"
#include "spectral/cmplx.h"
#include "spectral/fft.h"
#include "spectral/power.h"

namespace refx {

namespace {

// Per-bin loops are split over the worker pool from this many bins on.
constexpr long kParallelBins = 2048;

void forward(Program& p) {
  TransformWork& w = p.work;
  const long n = p.wf.nptst;
  transform_plan(n, p.pi).run(0, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(),
                              &w.max_fft_mag);
}

void inverse(Program& p) {
  TransformWork& w = p.work;
  const long n = p.wf.nptst;
  transform_plan(n, p.pi).run(1, w.xinr.data(), w.xini.data(), w.fftr.data(), w.ffti.data(),
                              &w.max_fft_mag);
}

// Quotient by the product with the conjugate over the squared magnitude; false when the
// divisor is exactly zero.
bool divide(cmplx num, cmplx den, cmplx* quotient) {
  return divide_complex(num.re, num.im, den.re, den.im, &quotient->re, &quotient->im);
}

// The steps both operations share; false when the operation cannot go on.
bool shared_steps(Program& p, Console& con, const char* src_prompt, const char* dest_prompt,
                  DestinationMarks* before) {
  p.rrc.rrc_error = 0;
  *before = read_source_and_destination(p, con, src_prompt, dest_prompt);
  if (!points_are_power_of_two(p, con)) return false;
  prepare_transform(p.work, p.wf.nptst, p.pi);
  return true;
}

}  // namespace

void gather_interval(Program& p, const Samples& y) {
  Reflection& r = p.rrc;
  TransformWork& w = p.work;
  const long n = p.wf.nptst;
  const long n1 = r.n1_rrc;
  const long n2 = r.n2_rrc;
  const bool exclusive = r.rrc_int_type == 1;
  long double e = 0;
  if (r.rrc_epzc_enable > 0) {
    if (exclusive) {
      const long double a = n1 == 1 ? y[n - 1] : y[n1 - 2];
      const long double b = n2 == n ? y[0] : y[n2];
      e = 0.5L * a + 0.5L * b;
    } else {
      e = 0.5L * (y[n1 - 1] + y[n2 - 1]);
    }
  }
  for (long i = 0; i < n; ++i) {
    const bool inside = i >= n1 - 1 && i <= n2 - 1;
    w.xinr[i] = inside != exclusive ? y[i] - e : 0.0L;
    w.xini[i] = 0;
  }
  r.rrc_epzc_value = e;
}

void compress_waveform(Program& p, Console& con) {
  Reflection& r = p.rrc;
  TransformWork& w = p.work;
  DestinationMarks before{};
  if (!shared_steps(p, con, "Enter waveform to compress (1 or 2):\n",
                    "Enter destination for compressed waveform (1 or 2):\n", &before))
    return;
  gather_truncated_source(p);
  forward(p);
  prepare_lpf_response(p, con, false, 0);
  // The bins are independent; split over the pool.
  const Program& cp = p;
  parallel_for(p.wf.nptst, kParallelBins, [&](long k0, long k1, int) {
    for (long k = k0; k < k1; ++k) {
      const cmplx z = cmul({w.fftr[k], w.ffti[k]}, {r.Re_rrc_filt[k], r.Im_rrc_filt[k]});
      const cmplx y = cmul(z, lpf_value(cp, k));
      w.xinr[k] = y.re;
      w.xini[k] = y.im;
    }
  });
  inverse(p);
  if (!result_is_finite(p)) {
    refuse_not_finite(p, con, before);
    return;
  }
  if (store_result(p))
    con_printf(con, "%s%d%s", "Warning - imaginary part in compressed waveform ", r.rrc_dest, "\n");
  else
    con_printf(con, "%s%d%s%d%s", "Waveform ", r.rrc_src, " was compressed to waveform ",
               r.rrc_dest, "\n");
  pause(p, con);
}

void decompress_waveform(Program& p, Console& con) {
  Reflection& r = p.rrc;
  TransformWork& w = p.work;
  const long n = p.wf.nptst;
  DestinationMarks before{};
  if (!shared_steps(p, con, "Enter waveform to de-compress (1 or 2):\n",
                    "Enter destination for de-compressed waveform (1 or 2):\n", &before))
    return;
  p.delf_minp = 1.0L / (p.delt * static_cast<long double>(n));
  gather_interval(p, p.wf.slot(r.rrc_src).y);
  forward(p);

  const bool hold = r.enable_fmax_rrc_decompress != 0;
  prepare_lpf_response(p, con, hold, r.fmax_rrc_decompress);
  const bool digital = r.use_lpf_rrc > 0 && r.rrc_lpf_type == 0;
  long double save_ratio = 0;

  // The mean is not restored.
  w.xinr[0] = 0;
  w.xini[0] = 0;
  for (long k = 1; k < n; ++k) {
    cmplx l = lpf_value(p, k);
    if (digital)
      l = {1.0L / (1.0L + held_lpf_ratio(p, k, hold, r.fmax_rrc_decompress, &save_ratio)), 0.0L};
    cmplx z{}, y{};
    // Refused before the destination is written: a zero bin has no quotient.
    if (!divide({w.fftr[k], w.ffti[k]}, {r.Re_rrc_filt[k], r.Im_rrc_filt[k]}, &z) ||
        !divide(z, l, &y)) {
      refuse_zero_divisor(p, con, before);
      return;
    }
    w.xinr[k] = y.re;
    w.xini[k] = y.im;
  }
  inverse(p);
  if (!result_is_finite(p)) {
    refuse_not_finite(p, con, before);
    return;
  }
  if (store_result(p))
    con_printf(con, "%s%d%s", "Warning - imaginary part in de-compressed waveform ", r.rrc_dest,
               "\n");
  else
    con_printf(con, "%s%d%s%d%s", "Waveform ", r.rrc_src, " was de-compressed to waveform ",
               r.rrc_dest, "\n");
  pause(p, con);
}

}  // namespace refx
