// What the operator waits for, against FFTW's long double transform of the same size
// measured in the same run: the transform (with and without building its plan), FFT menu key
// 1 with averaging, filter generation (plain, limited to fmax, minimum phase), compression and
// de-compression (no low-pass, Butterworth of order 10, minimum-phase digital), and reading
// and saving a waveform as text and as binary. Each runs with one worker thread and with all.
// The menus are driven through their keys, as the operator types them.
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/startup.h"
#include "console/console.h"
#include "core/program.h"
#include "core/worker_pool.h"
#include "reflection/rrc_menu.h"
#include "spectral/fft.h"
#include "spectral/fft_menu.h"
#include "spectral/spectral_state.h"
#include "waveforms/time_menu.h"

namespace {

const long double kPi = 3.14159265358979323851L;
const long kSizes[] = {4096, 65536};

std::vector<long double> random_values(long n, unsigned seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<long double> dist(-1.0L, 1.0L);
  std::vector<long double> v(n);
  for (long double& x : v) x = dist(gen);
  return v;
}

// Keys and lines from a string; what is printed is dropped.
class KeyConsole : public refx::Console {
 public:
  explicit KeyConsole(std::string typed) : typed_(std::move(typed)) {}
  void clear() override { screen_.clear(); }
  void print(const std::string& text) override { screen_ += text; }
  const std::string& screen() const { return screen_; }
  void refresh() override {}
  int read_key() override { return next(); }
  int read_main_menu_key() override { return next(); }
  bool read_line(std::string& line, std::size_t) override {
    line.clear();
    if (pos_ >= typed_.size()) {
      ran_out_ = true;
      return false;
    }
    while (pos_ < typed_.size() && typed_[pos_] != '\n') line += typed_[pos_++];
    ++pos_;
    return true;
  }
  bool read_word(std::string& word, std::size_t n) override { return read_line(word, n); }
  bool read_number_text(std::string& text) override { return read_line(text, 255); }
  int wait_for_key() override { return next(); }
  // Every key used, and no more asked for.
  bool used_exactly() const { return pos_ == typed_.size() && !ran_out_; }

 private:
  int next() {
    if (pos_ < typed_.size()) return typed_[pos_++];
    ran_out_ = true;
    return 'q';
  }
  bool ran_out_ = false;
  std::string screen_;
  std::string typed_;
  std::size_t pos_ = 0;
};

// A program of n points at 1 MHz holding a reference pulse (waveform 1) and a measurement
// with two reflections and a little noise (waveform 2).
std::unique_ptr<refx::Program> program_with_waveforms(long n) {
  auto p = refx::make_program();
  p->build = &refx::kLinuxBuild;
  refx::set_constants(*p);
  p->sampling_rate = 1048576.0L;
  p->delt = 1.0L / p->sampling_rate;
  p->num_meas_points = n;
  p->delf_minp = 1.0L / (n * p->delt);
  p->maxx = 1000;
  p->maxy = 800;
  refx::derive_values(*p);
  const std::vector<long double> noise = random_values(n, 3);
  auto pulse = [n](long i) {
    const long double x = (i - n / 16.0L) / 6.0L;
    return std::exp(-x * x);
  };
  for (long i = 0; i < n; ++i) {
    p->wf.y1a[i] = pulse(i) + 1e-3L * noise[i];
    p->wf.y2a[i] = pulse(i) + 0.3L * pulse(i - n / 8) - 0.1L * pulse(i - n / 5) + 1e-3L * noise[i];
  }
  p->rrc.n1_rrc = 1;
  p->rrc.n2_rrc = n / 4;
  return p;
}

void use_threads(const benchmark::State& state) {
  refx::restart_worker_pool(state.range(1) == 0 ? refx::configured_threads()
                                                : static_cast<int>(state.range(1)));
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

// The transform alone; its loop also reloads the input arrays, which every caller does
// before a transform (the transform overwrites them). With build_plan, a new plan each time.
void transform(benchmark::State& state, bool build_plan) {
  use_threads(state);
  const long n = state.range(0);
  auto w = std::make_unique<refx::TransformWork>();
  const std::vector<long double> re = random_values(n, 1), im = random_values(n, 2);
  for (auto _ : state) {
    std::copy(re.begin(), re.end(), w->xinr.begin());
    std::copy(im.begin(), im.end(), w->xini.begin());
    if (build_plan) {
      refx::FftPlan plan(n, kPi);
      plan.run(2, w->xinr.data(), w->xini.data(), w->fftr.data(), w->ffti.data(), &w->max_fft_mag);
    } else {
      refx::transform_plan(n, kPi).run(2, w->xinr.data(), w->xini.data(), w->fftr.data(),
                                       w->ffti.data(), &w->max_fft_mag);
    }
    benchmark::DoNotOptimize(w->fftr.data());
    benchmark::ClobberMemory();
  }
}
void BM_transform(benchmark::State& state) {
  transform(state, false);
}
void BM_transform_and_plan(benchmark::State& state) {
  transform(state, true);
}

// One operation through its menu's keys, on a program set up once; setup adjusts settings.
template <typename Setup>
void keys(benchmark::State& state, void (*menu)(refx::Program&, refx::Console&),
          const std::string& typed, Setup setup) {
  use_threads(state);
  auto p = program_with_waveforms(state.range(0));
  setup(*p);
  for (auto _ : state) {
    KeyConsole con(typed);
    menu(*p, con);
    benchmark::ClobberMemory();
    if (!con.used_exactly()) {
      state.SkipWithError(
          ("the keys did not match what the menu asked; last screen:\n" + con.screen()).c_str());
      break;
    }
  }
}

void no_setup(refx::Program&) {}
void fmax_setup(refx::Program& p) {
  p.rrc.enable_fmax_rrc_compress = 1;
  p.rrc.fmax_rrc_compress = 200000;
}
void minp_setup(refx::Program& p) {
  p.rrc.minp_option = 1;
}
void butterworth_setup(refx::Program& p) {
  p.rrc.use_lpf_rrc = 1, p.rrc.rrc_lpf_type = 1, p.rrc.n_lpf = 10, p.rrc.f0_lpf = 150000;
}
void minp_digital_setup(refx::Program& p) {
  p.rrc.use_lpf_rrc = 1, p.rrc.rrc_lpf_type = 2, p.rrc.n_lpf = 4, p.rrc.f0_lpf = 150000;
}
// A filter generated from waveform 1, for C and D.
template <void (*Extra)(refx::Program&)>
void with_filter(refx::Program& p) {
  KeyConsole con("G1\nkq");
  refx::rrc_menu(p, con);
  Extra(p);
}
void averaging_setup(refx::Program& p) {
  p.fft.fft_mag_avg_mode = 2;
  p.fft.fft_mag_avg_frac = 1.0L / 3.0L;
  p.fft.fft_mag_avg_mult = std::exp2(1.0L / 3.0L);
}
// A file to read, saved first in the format chosen (1 binary, 2 text).
template <int Format>
void saved_file(refx::Program& p) {
  p.i_rw_bin_ascii = Format;
  KeyConsole con("S1bench_wave.dat\nbench\nqq");
  refx::time_waveforms_menu(p, con);
}
template <int Format>
void format_setup(refx::Program& p) {
  p.i_rw_bin_ascii = Format;
}

void BM_fft_menu_1(benchmark::State& s) {
  keys(s, refx::fft_menu, "1q", averaging_setup);
}
void BM_G_plain(benchmark::State& s) {
  keys(s, refx::rrc_menu, "G1\nkq", no_setup);
}
void BM_G_fmax(benchmark::State& s) {
  keys(s, refx::rrc_menu, "G1\nkq", fmax_setup);
}
void BM_G_minp(benchmark::State& s) {
  keys(s, refx::rrc_menu, "G1\nkq", minp_setup);
}
void BM_C_plain(benchmark::State& s) {
  keys(s, refx::rrc_menu, "C2\n1\nkq", with_filter<no_setup>);
}
void BM_C_butterworth10(benchmark::State& s) {
  keys(s, refx::rrc_menu, "C2\n1\nkq", with_filter<butterworth_setup>);
}
void BM_C_minp_digital(benchmark::State& s) {
  keys(s, refx::rrc_menu, "C2\n1\nkq", with_filter<minp_digital_setup>);
}
void BM_D_plain(benchmark::State& s) {
  keys(s, refx::rrc_menu, "D2\n1\nkq", with_filter<no_setup>);
}
void BM_D_butterworth10(benchmark::State& s) {
  keys(s, refx::rrc_menu, "D2\n1\nkq", with_filter<butterworth_setup>);
}
void BM_D_minp_digital(benchmark::State& s) {
  keys(s, refx::rrc_menu, "D2\n1\nkq", with_filter<minp_digital_setup>);
}
void BM_read_text(benchmark::State& s) {
  keys(s, refx::time_waveforms_menu, "R1bench_wave.dat\nqq", saved_file<2>);
}
void BM_save_text(benchmark::State& s) {
  keys(s, refx::time_waveforms_menu, "S1bench_wave.dat\nbench\nqq", format_setup<2>);
}
void BM_read_binary(benchmark::State& s) {
  keys(s, refx::time_waveforms_menu, "R1bench_wave.dat\nqq", saved_file<1>);
}
void BM_save_binary(benchmark::State& s) {
  keys(s, refx::time_waveforms_menu, "S1bench_wave.dat\nbench\nqq", format_setup<1>);
}

// Sizes by threads: 1, and 0 for all the machine offers.
void sizes_and_threads(benchmark::internal::Benchmark* b) {
  for (long n : kSizes)
    for (long threads : {1L, 0L}) b->Args({n, threads});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_fftwl)->Arg(1024)->Arg(4096)->Arg(16384)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_transform)
    ->ArgsProduct({{1024, 4096, 16384, 65536}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_transform_and_plan)->Apply(sizes_and_threads);
BENCHMARK(BM_fft_menu_1)->Apply(sizes_and_threads);
BENCHMARK(BM_G_plain)->Apply(sizes_and_threads);
BENCHMARK(BM_G_fmax)->Apply(sizes_and_threads);
BENCHMARK(BM_G_minp)->Apply(sizes_and_threads);
BENCHMARK(BM_C_plain)->Apply(sizes_and_threads);
BENCHMARK(BM_C_butterworth10)->Apply(sizes_and_threads);
BENCHMARK(BM_C_minp_digital)->Apply(sizes_and_threads);
BENCHMARK(BM_D_plain)->Apply(sizes_and_threads);
BENCHMARK(BM_D_butterworth10)->Apply(sizes_and_threads);
BENCHMARK(BM_D_minp_digital)->Apply(sizes_and_threads);
BENCHMARK(BM_read_text)->Apply(sizes_and_threads);
BENCHMARK(BM_save_text)->Apply(sizes_and_threads);
BENCHMARK(BM_read_binary)->Apply(sizes_and_threads);
BENCHMARK(BM_save_binary)->Apply(sizes_and_threads);

// Prints the usual table and remembers each run's real time, for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, std::pair<double, double>> times;  // real and CPU time, ms
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred)
        times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
  // Time of name/n/threads, or of name/n when threads < 0; negative when not run. One
  // thread's time is its CPU time (steadier on a shared machine); with more threads only
  // the real time counts them all.
  double time(const std::string& name, long n, long threads, bool cpu) const {
    std::string key = name + "/" + std::to_string(n);
    if (threads >= 0) key += "/" + std::to_string(threads);
    auto it = times.find(key);
    if (it == times.end()) return -1;
    return cpu ? it->second.second : it->second.first;
  }
};

void print_row(const RatioReporter& r, const char* label, const std::string& name,
               const std::vector<long>& sizes) {
  std::printf("  %-26s", label);
  for (long n : sizes) {
    for (long threads : {1L, 0L}) {
      const double fftw = r.time("BM_fftwl", n, -1, threads == 1);
      const double t = r.time(name, n, threads, threads == 1);
      if (t < 0 || fftw <= 0)
        std::printf(" %18s", "-");
      else
        std::printf(" %9.2f ms %5.2fx", t, t / fftw);
    }
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The file benchmarks read and write in a directory of their own.
  char dir[] = "/tmp/refx_bench_XXXXXX";
  if (mkdtemp(dir) == nullptr || chdir(dir) != 0) return 1;
  RatioReporter r;
  benchmark::RunSpecifiedBenchmarks(&r);
  std::remove("bench_wave.dat");
  if (chdir("/") != 0 || rmdir(dir) != 0) std::printf("could not remove %s\n", dir);

  std::printf(
      "\nTime and its ratio to FFTW's long double transform (FFTW_MEASURE, one thread) "
      "of the same N: CPU times with one thread, real times with all (%d threads).\n",
      refx::configured_threads());
  std::printf("  %-26s %37s %37s\n", "", "N = 4096: 1 thread | all", "N = 65536: 1 thread | all");
  for (long n : {1024L, 4096L, 16384L, 65536L})
    std::printf("  FFTW long double, N = %-5ld %9.3f ms CPU, %9.3f ms real\n", n,
                r.time("BM_fftwl", n, -1, true), r.time("BM_fftwl", n, -1, false));
  const std::vector<long> sizes(std::begin(kSizes), std::end(kSizes));
  print_row(r, "transform", "BM_transform", sizes);
  print_row(r, "transform + plan build", "BM_transform_and_plan", sizes);
  print_row(r, "FFT menu 1 (averaging)", "BM_fft_menu_1", sizes);
  print_row(r, "G plain", "BM_G_plain", sizes);
  print_row(r, "G fmax", "BM_G_fmax", sizes);
  print_row(r, "G minimum phase", "BM_G_minp", sizes);
  print_row(r, "C no low-pass", "BM_C_plain", sizes);
  print_row(r, "C Butterworth 10", "BM_C_butterworth10", sizes);
  print_row(r, "C min-phase digital", "BM_C_minp_digital", sizes);
  print_row(r, "D no low-pass", "BM_D_plain", sizes);
  print_row(r, "D Butterworth 10", "BM_D_butterworth10", sizes);
  print_row(r, "D min-phase digital", "BM_D_minp_digital", sizes);
  print_row(r, "read text waveform", "BM_read_text", sizes);
  print_row(r, "save text waveform", "BM_save_text", sizes);
  print_row(r, "read binary waveform", "BM_read_binary", sizes);
  print_row(r, "save binary waveform", "BM_save_binary", sizes);
  std::printf("  transform at the other sizes:\n");
  print_row(r, "transform", "BM_transform", {1024, 16384});
  benchmark::Shutdown();
  return 0;
}
