// The per-bin work split over threads, and the Butterworth response that skips terms whose
// exponential is zero, against straightforward loops, bit for bit.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/worker_pool.h"
#include "core/xmath.h"
#include "reflection/lowpass.h"
#include "reflection/minimum_phase.h"
#include "spectral/cmplx.h"
#include "spectral/fft.h"
#include "spectral/mag_phase.h"
#include "support/reference_fft.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

long first_difference(const long double* a, const long double* b, long n) {
  for (long k = 0; k < n; ++k)
    if (std::memcmp(&a[k], &b[k], 10) != 0) return k;
  return -1;
}

// The response as a plain loop over every term of every bin, then the reference transform.
std::vector<long double> butterworth_by_every_term(const Program& p, long order, long double f0) {
  const long n = p.wf.nptst;
  const long double pi = p.pi;
  std::array<cmplx, 10> pole{}, residue{};
  const long double omega0 = 2.0L * pi * f0;
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
  std::vector<long double> xr(n), xi(n, 0.0L), out(2 * n);
  for (long k = 0; k < n; ++k) {
    const long double t = static_cast<long double>(k) * p.delt;
    cmplx x{0.0L, 0.0L};
    for (long j = 0; j < order; ++j) {
      const cmplx decay{xexp(pole[j].re * t), 0.0L};
      cmplx turn{0.0L, 0.0L};
      xsincos(pole[j].im * t, &turn.im, &turn.re);
      x = cadd(x, cmul(residue[j], cmul(decay, turn)));
    }
    xr[k] = p.delt * x.re;
  }
  std::vector<long double> c(n / 2), s(n / 2);
  reference_twiddle_tables(n, pi, c.data(), s.data());
  const long stages = log2_by_doubling(n);
  long double max_mag = 0;
  reference_fft(2, &n, &stages, xr.data(), xi.data(), out.data(), out.data() + n, c.data(),
                s.data(), &max_mag);
  return out;
}

// Cutoffs high enough that the exponentials of most late bins underflow to zero.
TEST(PerBinIdentity, ButterworthSkippingZeroTermsIsTheFullSum) {
  const long n = 65536;
  auto p = started_program(1048576.0L, n);
  for (int threads : {1, 3}) {
    restart_worker_pool(threads);
    for (auto [order, f0] : {std::pair{10L, 150000.0L}, {3L, 400000.0L}, {1L, 52000.0L}}) {
      SCOPED_TRACE(testing::Message() << threads << " threads, order " << order << " f0 " << f0);
      ScriptedConsole con;
      calculate_butterworth_lpf(*p, con, order, f0, p->rrc.lpfr.data(), p->rrc.lpfi.data());
      const std::vector<long double> want = butterworth_by_every_term(*p, order, f0);
      EXPECT_EQ(first_difference(p->rrc.lpfr.data(), want.data(), n), -1);
      EXPECT_EQ(first_difference(p->rrc.lpfi.data(), want.data() + n, n), -1);
    }
  }
  restart_worker_pool(configured_threads());
}

// Minimum phase (logarithms, the limited-log count, exponentials) and magnitude and phase
// (with averaging) give the same bits and the same warnings on one thread and on three.
TEST(PerBinIdentity, MinimumPhaseAndMagnitudePhaseDoNotDependOnThreads) {
  const long n = 65536;
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<long double> unit(-1, 1);
  std::vector<long double> re(n), im(n);
  for (long k = 0; k < n; ++k) re[k] = unit(gen), im[k] = unit(gen);
  for (long k = 0; k < n; k += 997) re[k] = 0, im[k] = 0;  // floored logarithms, zero bins
  struct Result {
    std::vector<long double> minp_r, minp_i, mag, ph, avg_mag, avg_ph, power;
    std::string said;
  };
  auto compute = [&](int threads) {
    restart_worker_pool(threads);
    auto p = started_program(1048576.0L, n);
    Result r;
    std::vector<long double> xr = re, xi = im;
    r.minp_r.resize(n), r.minp_i.resize(n), r.mag.resize(n), r.ph.resize(n);
    r.avg_mag.resize(n), r.avg_ph.resize(n);
    ScriptedConsole con(std::string(8, 'k'));
    calc_minp(*p, con, xr.data(), xi.data(), r.minp_r.data(), r.minp_i.data());
    r.said = con.transcript();
    calc_fft_mag_ph_no_avg(*p, &n, re.data(), im.data(), r.mag.data(), r.ph.data());
    p->fft.fft_mag_avg_mode = 1, p->fft.fft_mag_avg_npts = 5;
    calc_fft_mag_ph(*p, &n, re.data(), im.data(), r.avg_mag.data(), r.avg_ph.data());
    r.power.assign(p->fft.fft_mag_avg.begin(), p->fft.fft_mag_avg.begin() + n);
    return r;
  };
  const Result one = compute(1), three = compute(3);
  restart_worker_pool(configured_threads());
  EXPECT_NE(one.said.find("Warning - log magnitude was limited 66 times"), std::string::npos)
      << one.said;
  EXPECT_EQ(one.said, three.said);
  const std::vector<long double> Result::*arrays[] = {
      &Result::minp_r,  &Result::minp_i, &Result::mag,  &Result::ph,
      &Result::avg_mag, &Result::avg_ph, &Result::power};
  for (auto a : arrays) EXPECT_EQ(first_difference((one.*a).data(), (three.*a).data(), n), -1);
}

}  // namespace
}  // namespace refx
