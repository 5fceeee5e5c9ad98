#include "spectral/fft.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "core/worker_pool.h"
#include "core/xmath.h"
#include "spectral/spectral_state.h"

namespace refx {

namespace {

// Below this many points a transform is quicker on one thread than waking the others.
constexpr long kParallelPoints = 8192;

// One radix-2 butterfly: t = w b, then a + t and a - t, each operation as always.
struct Butterfly {
  long double sr, si, dr, di;
};

inline Butterfly butterfly(long double ar, long double ai, long double br, long double bi,
                           long double wr, long double wi) {
  const long double tr = wr * br - wi * bi;
  const long double ti = wi * br + wr * bi;
  return {ar + tr, ai + ti, ar - tr, ai - ti};
}

// The arrays of one pass: where it reads, where it writes, and in its last pass a second
// destination (the input arrays, which keep the unscaled result) and the mode-0 divisor.
struct Pass {
  const long double* __restrict__ xr;
  const long double* __restrict__ xi;
  long double* __restrict__ yr;
  long double* __restrict__ yi;
  long double* __restrict__ kr;  // the unscaled copy of a mode-0 last pass, else null
  long double* __restrict__ ki;
  const long double* __restrict__ wr;
  const long double* __restrict__ wi;
  long half;       // N/2
  long groups;     // butterfly groups of the pass's first stage (ni)
  long span;       // n2j of the pass's first stage
  long double rn;  // the mode-0 divisor
};

// Largest |out|^2 of the values v written by the last pass; sqrt is monotonic, so the
// largest magnitude is the square root of the largest power.
inline void track(long double vr, long double vi, long double* largest) {
  const long double power = vr * vr + vi * vi;
  if (power > *largest) *largest = power;
}

// A value of the last pass. Unscaled, it is copied to the input arrays afterwards as bytes
// (cheaper than a second 80-bit store); scaled, both are stored here.
inline void store(const Pass& p, long k, long double vr, long double vi, long double* largest) {
  track(vr, vi, largest);
  if (p.kr == nullptr) {
    p.yr[k] = vr;
    p.yi[k] = vi;
    return;
  }
  p.kr[k] = vr;
  p.ki[k] = vi;
  p.yr[k] = vr / p.rn;
  p.yi[k] = vi / p.rn;
}

// One stage over butterfly groups [g0, g1), butterflies [r0, r1) of each.
template <bool Last>
void single_stage(const Pass& p, long g0, long g1, long r0, long r1, long double* largest) {
  const long m = p.span;
  for (long l = g0; l < g1; ++l) {
    const long in2j = m * l;
    const long double wr = p.wr[in2j];
    const long double wi = p.wi[in2j];
    const long double* __restrict__ ar = p.xr + 2 * in2j;
    const long double* __restrict__ ai = p.xi + 2 * in2j;
    for (long ir = r0; ir < r1; ++ir) {
      const Butterfly b = butterfly(ar[ir], ai[ir], ar[ir + m], ai[ir + m], wr, wi);
      if (Last) {
        store(p, in2j + ir, b.sr, b.si, largest);
        store(p, in2j + ir + p.half, b.dr, b.di, largest);
      } else {
        p.yr[in2j + ir] = b.sr;
        p.yi[in2j + ir] = b.si;
        p.yr[in2j + ir + p.half] = b.dr;
        p.yi[in2j + ir + p.half] = b.di;
      }
    }
  }
}

// Two stages in one pass over memory, groups [g0, g1) of the first: the first stage's four
// outputs that the second stage's two butterflies combine stay in registers; [r0, r1) of
// the h butterfly positions of each group.
template <bool Last>
void double_stage(const Pass& p, long g0, long g1, long r0, long r1, long double* largest) {
  const long m = p.span;    // n2j of the first stage
  const long h = m / 2;     // n2j of the second
  const long L = p.groups;  // ni of the first stage
  const long half = p.half;
  for (long l = g0; l < g1; ++l) {
    const long in2j = m * l;
    const long double w1r = p.wr[in2j], w1i = p.wi[in2j];
    const long double w2r = p.wr[h * l], w2i = p.wi[h * l];
    const long double w3r = p.wr[h * (l + L)], w3i = p.wi[h * (l + L)];
    const long double* __restrict__ xr = p.xr + 2 * in2j;
    const long double* __restrict__ xi = p.xi + 2 * in2j;
    const long o2 = h * l;        // second stage, group l
    const long o3 = h * (l + L);  // second stage, group l + L
    for (long ir = r0; ir < r1; ++ir) {
      // First stage: the butterflies at ir and ir + h of group l.
      const Butterfly u = butterfly(xr[ir], xi[ir], xr[ir + m], xi[ir + m], w1r, w1i);
      const Butterfly v =
          butterfly(xr[ir + h], xi[ir + h], xr[ir + h + m], xi[ir + h + m], w1r, w1i);
      // Second stage: u.s with v.s (group l), u.d with v.d (group l + L).
      const Butterfly a = butterfly(u.sr, u.si, v.sr, v.si, w2r, w2i);
      const Butterfly b = butterfly(u.dr, u.di, v.dr, v.di, w3r, w3i);
      if (Last) {
        store(p, o2 + ir, a.sr, a.si, largest);
        store(p, o2 + ir + half, a.dr, a.di, largest);
        store(p, o3 + ir, b.sr, b.si, largest);
        store(p, o3 + ir + half, b.dr, b.di, largest);
      } else {
        p.yr[o2 + ir] = a.sr;
        p.yi[o2 + ir] = a.si;
        p.yr[o2 + ir + half] = a.dr;
        p.yi[o2 + ir + half] = a.di;
        p.yr[o3 + ir] = b.sr;
        p.yi[o3 + ir] = b.si;
        p.yr[o3 + ir + half] = b.dr;
        p.yi[o3 + ir + half] = b.di;
      }
    }
  }
}

// Runs one pass, split over the pool above the size where that pays: by groups when there
// are many, otherwise by butterfly positions within every group. Returns the largest power
// written (the last pass only).
long double run_pass(const Pass& p, bool two, bool last, long n) {
  const long inner = two ? p.span / 2 : p.span;
  auto body = [&p, two, last](long g0, long g1, long r0, long r1, long double* largest) {
    if (two)
      last ? double_stage<true>(p, g0, g1, r0, r1, largest)
           : double_stage<false>(p, g0, g1, r0, r1, largest);
    else
      last ? single_stage<true>(p, g0, g1, r0, r1, largest)
           : single_stage<false>(p, g0, g1, r0, r1, largest);
  };
  long double largest = 0;
  if (n < kParallelPoints) {
    body(0, p.groups, 0, inner, &largest);
    return largest;
  }
  long double part_largest[64] = {};
  if (p.groups >= 64) {
    parallel_for(p.groups, 2,
                 [&](long g0, long g1, int part) { body(g0, g1, 0, inner, &part_largest[part]); });
  } else {
    parallel_for(inner, 2, [&](long r0, long r1, int part) {
      body(0, p.groups, r0, r1, &part_largest[part]);
    });
  }
  for (long double v : part_largest)
    if (v > largest) largest = v;
  return largest;
}

}  // namespace

long log2_by_doubling(long n) {
  long count = 0;
  for (long j = 1; j < n; j *= 2) ++count;
  return count;
}

void fill_twiddle_tables(long n, long double pi, long double* cos_array, long double* sin_array) {
  const long double rn2 = static_cast<long double>(n / 2);
  for (long k = 0; k < n / 2; ++k) {
    const long double angle = k * pi / rn2;
    long double s = 0;
    xsincos(angle, &s, &cos_array[k]);
    sin_array[k] = -s;
  }
}

FftPlan::FftPlan(long n, long double pi)
    : n_(n),
      nstage_(log2_by_doubling(n)),
      cos_(static_cast<std::size_t>(n / 2 + 1)),
      sin_(static_cast<std::size_t>(n / 2 + 1)),
      neg_sin_(static_cast<std::size_t>(n / 2 + 1)),
      scratch_r_(static_cast<std::size_t>(n)),
      scratch_i_(static_cast<std::size_t>(n)) {
  fill_twiddle_tables(n, pi, cos_.data(), sin_.data());
  for (long k = 0; k < n / 2; ++k) neg_sin_[k] = -sin_[k];
}

void FftPlan::run(int for_rev, long double* xinr, long double* xini, long double* fftr,
                  long double* ffti, long double* max_mag) {
  const long npts = n_;
  const long half = npts / 2;
  const long double rn = static_cast<long double>(npts);
  const bool forward = for_rev == 0 || for_rev == 2;
  const long double* wi = forward ? sin_.data() : neg_sin_.data();

  if (nstage_ == 0) {  // one point: no stage runs, the output keeps what it held
    if (for_rev == 0) {
      fftr[0] /= rn;
      ffti[0] /= rn;
      *max_mag /= rn;
    }
    return;
  }

  // Passes of two stages, the first a single one when the count is odd. Each pass reads
  // what the previous wrote; the destinations alternate so that the next to last pass
  // writes the scratch pair and the last reads it while writing both fftr and xinr.
  const long passes = (nstage_ + 1) / 2;
  const bool first_single = nstage_ % 2 == 1;
  long double* sr = scratch_r_.data();
  long double* si = scratch_i_.data();
  const long double* from_r = xinr;
  const long double* from_i = xini;
  long groups = 1;
  long span = npts / 2;
  long double largest = 0;
  for (long pass = 1; pass <= passes; ++pass) {
    const bool two = !(pass == 1 && first_single);
    const bool last = pass == passes && passes > 1;
    Pass p{from_r, from_i, fftr, ffti, nullptr, nullptr, cos_.data(), wi, half, groups, span, rn};
    if (last && for_rev == 0) {
      p.kr = xinr;
      p.ki = xini;
    } else if (!last && (passes - pass) % 2 == 1) {
      p.yr = sr;
      p.yi = si;
    }
    const long double got = run_pass(p, two, last, npts);
    if (last) largest = got;
    if (last && for_rev != 0) {
      std::memcpy(xinr, fftr, static_cast<std::size_t>(npts) * sizeof(long double));
      std::memcpy(xini, ffti, static_cast<std::size_t>(npts) * sizeof(long double));
    }
    from_r = p.yr;
    from_i = p.yi;
    groups *= two ? 4 : 2;
    span /= two ? 4 : 2;
  }

  if (passes == 1) {  // the only pass read xinr, so it wrote fftr alone
    for (long k = 0; k < npts; ++k) {
      xinr[k] = fftr[k];
      xini[k] = ffti[k];
      track(fftr[k], ffti[k], &largest);
      if (for_rev == 0) {
        fftr[k] /= rn;
        ffti[k] /= rn;
      }
    }
  }
  *max_mag = std::sqrt(largest);
  if (for_rev == 0) *max_mag /= rn;
}

FftPlan& transform_plan(long n, long double pi) {
  static std::mutex mutex;
  static std::map<std::pair<long, long double>, std::unique_ptr<FftPlan>> plans;
  std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<FftPlan>& plan = plans[{n, pi}];
  if (!plan) plan = std::make_unique<FftPlan>(n, pi);
  return *plan;
}

FftPlan& prepare_transform(TransformWork& work, long n, long double pi) {
  work.rn2 = static_cast<long double>(n / 2);
  work.nstage = log2_by_doubling(n);
  work.fft_size = n;
  return transform_plan(n, pi);
}

}  // namespace refx
