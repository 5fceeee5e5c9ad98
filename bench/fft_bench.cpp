// The transform engine against FFTW's long double transform, at the sizes the program uses.
// Both run out of place on the same input; the engine's loop also reloads its input arrays,
// which every caller does before a transform (the engine overwrites them).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "spectral/fft.h"
#include "spectral/spectral_state.h"

namespace {

const long double kPi = 3.141592653589793238462643383279502884L;

std::vector<long double> random_values(long n, unsigned seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<long double> dist(-1.0L, 1.0L);
  std::vector<long double> v(n);
  for (long double& x : v) x = dist(gen);
  return v;
}

void BM_refx_fft(benchmark::State& state) {
  const long n = state.range(0);
  auto w = std::make_unique<refx::TransformWork>();
  refx::FftPlan& plan = refx::transform_plan(n, kPi);
  const std::vector<long double> re = random_values(n, 1), im = random_values(n, 2);
  for (auto _ : state) {
    std::copy(re.begin(), re.end(), w->xinr.begin());
    std::copy(im.begin(), im.end(), w->xini.begin());
    plan.run(2, w->xinr.data(), w->xini.data(), w->fftr.data(), w->ffti.data(), &w->max_fft_mag);
    benchmark::DoNotOptimize(w->fftr.data());
    benchmark::ClobberMemory();
  }
}

void BM_fftwl(benchmark::State& state) {
  const long n = state.range(0);
  fftwl_complex* in = fftwl_alloc_complex(n);
  fftwl_complex* out = fftwl_alloc_complex(n);
  // Planning with FFTW_MEASURE overwrites the arrays, so the input is loaded afterwards.
  fftwl_plan plan = fftwl_plan_dft_1d(static_cast<int>(n), in, out, FFTW_FORWARD, FFTW_MEASURE);
  const std::vector<long double> re = random_values(n, 1), im = random_values(n, 2);
  for (long i = 0; i < n; ++i) {
    in[i][0] = re[i];
    in[i][1] = im[i];
  }
  for (auto _ : state) {
    fftwl_execute(plan);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  fftwl_destroy_plan(plan);
  fftwl_free(in);
  fftwl_free(out);
}

BENCHMARK(BM_refx_fft)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(65536)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fftwl)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(65536)->Unit(benchmark::kMicrosecond);

// Prints the usual table and remembers each run's time, for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, std::pair<double, double>> times;  // real, CPU
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // CPU time is the steadier measure on a shared machine; both are shown.
  std::printf("\nrefx fft time / FFTW long double time (FFTW_MEASURE):\n");
  for (long n : {1024L, 4096L, 16384L, 65536L}) {
    const std::string size = "/" + std::to_string(n);
    auto ours = reporter.times.find("BM_refx_fft" + size);
    auto theirs = reporter.times.find("BM_fftwl" + size);
    if (ours == reporter.times.end() || theirs == reporter.times.end()) continue;
    std::printf("  N = %5ld: %.2f (CPU), %.2f (real)\n", n,
                ours->second.second / theirs->second.second,
                ours->second.first / theirs->second.first);
  }
  benchmark::Shutdown();
  return 0;
}
