#include "reflection/minimum_phase.h"

#include <cmath>

#include "console/console_io.h"
#include "core/program.h"
#include "core/worker_pool.h"
#include "core/xmath.h"
#include "reflection/rrc_steps.h"
#include "spectral/fft.h"
#include "spectral/power.h"

namespace refx {

namespace {

constexpr long double kMagnitudeFloor = 1e-50L;
// ln(1e-50), the logarithm used for a floored bin.
constexpr long double kLogFloor = -115.129254649702284200899572734218210380L;
constexpr long double kCepstrumImagTolerance = 1e-5L;
// The most whole turns the phase wrap removes one at a time.
constexpr long double kLoopedTurns = 4096;
// Per-bin loops are split over the worker pool from this many bins on.
constexpr long kParallelBins = 2048;

}  // namespace

void calc_minp(Program& p, Console& con, long double* xinr_minp, long double* xini_minp,
               long double* xoutr_minp, long double* xouti_minp) {
  TransformWork& w = p.work;
  const long npts_minp = p.wf.nptst;
  const long i_folding_minp = npts_minp / 2;
  long i_lim_minp = 0;
  long minp_imag = 0;
  w.rn2 = static_cast<long double>(npts_minp / 2);

  long j = 1;
  long nstage_minp = 0;
  while (j < npts_minp) {
    j *= 2;
    ++nstage_minp;
  }
  if (j > npts_minp) {
    say(con, "Error - number of points in RI waveform is not a power of 2;\n");
    say(con, "Can't proceed with minp conversion\n");
    pause_colon(p, con);
    return;
  }

  FftPlan& plan = prepare_transform(w, npts_minp, p.pi);

  // The bins are independent: split over the pool, the floored ones counted per part.
  long part_limited[64] = {};
  parallel_for(npts_minp, kParallelBins, [&](long i0, long i1, int part) {
    for (long i = i0; i < i1; ++i) {
      const long double minp_mag = magnitude(xinr_minp[i], xini_minp[i]);
      xini_minp[i] = 0;
      if (std::fabs(minp_mag) > kMagnitudeFloor) {
        xinr_minp[i] = std::log(minp_mag);
      } else {
        xinr_minp[i] = kLogFloor;
        ++part_limited[part];
      }
    }
  });
  for (long limited : part_limited) i_lim_minp += limited;
  if (i_lim_minp > 0) {
    con_printf(con, "%s%ld%s", "Warning - log magnitude was limited ", i_lim_minp,
               " times in calc_minp\n");
    pause_colon(p, con);
  }

  long double max_mag = 0;
  plan.run(1, xinr_minp, xini_minp, xoutr_minp, xouti_minp, &max_mag);

  for (long i = 0; i < npts_minp; ++i)
    if (std::fabs(xouti_minp[i]) > kCepstrumImagTolerance) ++minp_imag;
  if (minp_imag > 0) {
    con_printf(con, "%s%ld%s", "Warning - imaginary part in inverse log magnitude calculation ",
               minp_imag, " times\n");
    pause_colon(p, con);
  }

  // Fold the cepstrum onto its causal half; its imaginary part is dropped.
  for (long i = 0; i < npts_minp; ++i) {
    xini_minp[i] = 0;
    if (i == 0 || i == i_folding_minp)
      xinr_minp[i] = xoutr_minp[i];
    else if (i < i_folding_minp)
      xinr_minp[i] = 2.0L * xoutr_minp[i];
    else
      xinr_minp[i] = 0;
  }

  plan.run(0, xinr_minp, xini_minp, xoutr_minp, xouti_minp, &max_mag);

  const long double pi = p.pi;
  parallel_for(npts_minp, kParallelBins, [&](long i0, long i1, int) {
    for (long i = i0; i < i1; ++i) {
      const long double m = xexp(xoutr_minp[i]);
      long double phase = xouti_minp[i];
      transform_phase(&phase, pi);
      long double s = 0, c = 0;
      xsincos(phase, &s, &c);
      xoutr_minp[i] = m * c;
      xouti_minp[i] = m * s;
    }
  });
}

void transform_phase(long double* phase, long double pi) {
  // A non-finite phase would never leave the loops below.
  if (!std::isfinite(*phase)) return;
  // Far outside one turn the loops would take too long (or never end, once 2 pi is below the
  // value's spacing): whole turns are removed exactly first. Nearer phases keep the loops.
  if (std::fabs(*phase) > kLoopedTurns * 2.0L * pi) *phase = std::fmod(*phase, 2.0L * pi);
  while (*phase > pi) *phase -= 2.0L * pi;
  while (*phase < -pi) *phase += 2.0L * pi;
}

}  // namespace refx
