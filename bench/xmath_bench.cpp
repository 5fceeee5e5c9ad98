// The per-sample work of the two transcendental-heavy operations, with our xsincos and xexp
// against the C library's sinl, cosl and expl in the same run: the Butterworth impulse
// response (order 10, 65536 samples: ten exponentials and ten sine-cosine pairs per sample)
// and the last pass of the minimum-phase conversion (one exponential and one sine-cosine pair
// per bin). The transforms around them are left out: they are the same in both, so the ratio
// here bounds the ratio of the whole operations from above.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

#include "core/xmath.h"
#include "spectral/cmplx.h"

namespace {

constexpr long kPoints = 65536;
constexpr int kOrder = 10;
constexpr long double kPi = 3.14159265358979323851L;

struct Library {
  static long double exp(long double x) { return std::exp(x); }
  static void sincos(long double x, long double* s, long double* c) {
    *s = std::sin(x);
    *c = std::cos(x);
  }
};
struct Ours {
  static long double exp(long double x) { return refx::xexp(x); }
  static void sincos(long double x, long double* s, long double* c) { refx::xsincos(x, s, c); }
};

template <class F>
void BM_ButterworthResponse(benchmark::State& state) {
  const long double delt = 1.0L / 1048576.0L;
  const long double omega0 = 2.0L * kPi * 150000.0L;
  std::array<refx::cmplx, kOrder> pole{};
  for (int i = 1; i <= kOrder; ++i) {
    const long double theta = (kPi * (2 * i - 1) / 2.0L) / kOrder;
    pole[i - 1] = {-omega0 * std::sin(theta), omega0 * std::cos(theta)};
  }
  const refx::cmplx residue{0.3L, -0.7L};
  std::vector<long double> out(kPoints);
  for (auto _ : state) {
    for (long k = 0; k < kPoints; ++k) {
      const long double t = static_cast<long double>(k) * delt;
      refx::cmplx x{0.0L, 0.0L};
      for (int j = 0; j < kOrder; ++j) {
        const refx::cmplx decay{F::exp(pole[j].re * t), 0.0L};
        refx::cmplx turn{0.0L, 0.0L};
        F::sincos(pole[j].im * t, &turn.im, &turn.re);
        x = refx::cadd(x, refx::cmul(residue, refx::cmul(decay, turn)));
      }
      out[k] = delt * x.re;
    }
    benchmark::DoNotOptimize(out.data());
  }
}

template <class F>
void BM_MinimumPhaseBins(benchmark::State& state) {
  std::vector<long double> re(kPoints), im(kPoints), out_re(kPoints), out_im(kPoints);
  for (long i = 0; i < kPoints; ++i) {  // log magnitudes and phases of a smooth response
    re[i] = -3.0L * std::sin(i * 0.0007L);
    im[i] = 2.5L * std::sin(i * 0.0003L + 0.2L);
  }
  for (auto _ : state) {
    for (long i = 0; i < kPoints; ++i) {
      const long double m = F::exp(re[i]);
      long double s = 0, c = 0;
      F::sincos(im[i], &s, &c);
      out_re[i] = m * c;
      out_im[i] = m * s;
    }
    benchmark::DoNotOptimize(out_re.data());
    benchmark::DoNotOptimize(out_im.data());
  }
}

BENCHMARK_TEMPLATE(BM_ButterworthResponse, Library)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ButterworthResponse, Ours)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MinimumPhaseBins, Library)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MinimumPhaseBins, Ours)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
