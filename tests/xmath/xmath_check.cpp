// Holds xsincos and xexp against GCC's quad-precision library rounded to long double, on
// arguments from every range the program uses and the hard cases of argument reduction.
// A standalone program (no test framework) so that the Windows build can run it under wine.
// Prints, per range, the worst error in units in the last place and the share of correctly
// rounded results, then digests of every result (ours and the C library's logl, atanl and
// sqrtl) that the two builds must print alike. Exit status 1 when a check fails.
#include <quadmath.h>

#include <algorithm>
#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/float80.h"
#include "core/xmath.h"

using refx::xexp;
using refx::xsincos;

namespace {

struct HardCase {
  std::uint64_t significand;
  int exponent;
};
constexpr HardCase kHardCases[] = {
#include "hard_cases.inc"
};

constexpr long double kPi = 0xC90FDAA22168C235p-62L;  // pi rounded, as the program holds it

std::uint64_t rng_state = 0x9E3779B97F4A7C15ull;
std::uint64_t next_u64() {  // splitmix64
  std::uint64_t z = (rng_state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
// uniform in [a, b], with all 64 bits of the significand random
long double uniform(long double a, long double b) {
  const long double u = std::ldexp(static_cast<long double>(next_u64()), -64);
  return a + (b - a) * u;
}
// |x| log-uniform in [2^lo, 2^hi), random sign and significand
long double log_uniform(int lo, int hi) {
  const int e = lo + static_cast<int>(next_u64() % static_cast<std::uint64_t>(hi - lo));
  const long double m = std::ldexp(static_cast<long double>(next_u64() | (1ull << 63)), -64);
  const long double x = std::ldexp(m, e + 1);
  return (next_u64() & 1) ? -x : x;
}

// FNV-1a over the 80-bit encodings of results.
struct Digest {
  std::uint64_t h = 0xCBF29CE484222325ull;
  void add(long double v) {
    unsigned char b[refx::kFloat80Bytes];
    refx::encode_float80(v, b);
    for (unsigned char c : b) h = (h ^ c) * 0x100000001B3ull;
  }
};

long double ulp_of(long double y) {
  if (y == 0 || !std::isfinite(y)) return std::ldexp(1.0L, -16445);
  int e = 0;
  std::frexp(y, &e);  // |y| in [2^(e-1), 2^e)
  return std::ldexp(1.0L, std::max(e - 64, -16445));
}

bool same(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

struct Stats {
  std::string name;
  long count = 0;
  long correct = 0;
  double worst = 0;
  long double worst_arg = 0;
};

// One result against the exact value `ref` (quad).
void score(Stats* s, long double arg, long double got, __float128 ref) {
  const long double nearest = static_cast<long double>(ref);
  ++s->count;
  if (same(got, nearest)) ++s->correct;
  double err = 0;
  if (std::isfinite(got) && std::isfinite(nearest))
    err = static_cast<double>(fabsq(static_cast<__float128>(got) - ref) /
                              static_cast<__float128>(ulp_of(nearest)));
  else if (!same(got, nearest))
    err = std::numeric_limits<double>::infinity();
  if (err > s->worst) {
    s->worst = err;
    s->worst_arg = arg;
  }
}

Digest ours;
Digest libm;
std::vector<Stats> all;
std::vector<Stats> library;  // the C library's sinl, cosl and expl, for comparison only
int failures = 0;

void run_sincos(const std::string& name, const std::vector<long double>& args) {
  Stats s{"sin " + name}, c{"cos " + name}, ls{"sinl " + name}, lc{"cosl " + name};
  for (long double x : args) {
    long double sx = 0, cx = 0;
    xsincos(x, &sx, &cx);
    __float128 sq = 0, cq = 0;
    sincosq(static_cast<__float128>(x), &sq, &cq);
    score(&s, x, sx, sq);
    score(&c, x, cx, cq);
    score(&ls, x, sinl(x), sq);
    score(&lc, x, cosl(x), cq);
    ours.add(sx);
    ours.add(cx);
    if (!same(sx, refx::xsin(x)) || !same(cx, refx::xcos(x))) {
      std::printf("FAIL xsin/xcos differ from xsincos at %.21Lg\n", x);
      ++failures;
    }
    libm.add(atanl(x));
    libm.add(logl(fabsl(x)));
    libm.add(sqrtl(fabsl(x)));
  }
  all.push_back(s);
  all.push_back(c);
  library.push_back(ls);
  library.push_back(lc);
}

void run_exp(const std::string& name, const std::vector<long double>& args) {
  Stats s{"exp " + name}, l{"expl " + name};
  for (long double x : args) {
    const long double y = xexp(x);
    const __float128 ref = expq(static_cast<__float128>(x));
    score(&s, x, y, ref);
    score(&l, x, expl(x), ref);
    ours.add(y);
    libm.add(logl(y));
  }
  all.push_back(s);
  library.push_back(l);
}

std::vector<long double> generate(long n, const std::function<long double()>& f) {
  std::vector<long double> v;
  v.reserve(static_cast<size_t>(n));
  for (long i = 0; i < n; ++i) v.push_back(f());
  return v;
}

// The program's Butterworth arguments: pole parts times k delt, order 10, N = 65536.
void butterworth_args(std::vector<long double>* turns, std::vector<long double>* decays) {
  const long double delt = 1.0L / 1.0e6L;
  for (long double f0 : {1.0e4L, 1.0e5L, 3.0e5L, 4.9e5L}) {
    const long double omega0 = 2.0L * kPi * f0;
    for (int i = 1; i <= 10; ++i) {
      long double st = 0, ct = 0;
      xsincos((kPi * (2 * i - 1) / 2.0L) / 10.0L, &st, &ct);
      for (long k = 0; k < 65536; k += 16) {
        const long double t = static_cast<long double>(k) * delt;
        turns->push_back(omega0 * ct * t);
        decays->push_back(-omega0 * st * t);
      }
    }
  }
}

void check_specials() {
  const long double inf = std::numeric_limits<long double>::infinity();
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  const long double tiny = std::numeric_limits<long double>::denorm_min();
  struct Case {
    long double x, sin, cos, exp;
    bool trig;  // whether sin and cos are checked here
  };
  const Case cases[] = {
      {0.0L, 0.0L, 1.0L, 1.0L, true},     {-0.0L, -0.0L, 1.0L, 1.0L, true},
      {inf, nan, nan, inf, true},         {-inf, nan, nan, 0.0L, true},
      {nan, nan, nan, nan, true},         {tiny, tiny, 1.0L, 1.0L, true},
      {-tiny, -tiny, 1.0L, 1.0L, true},   {-11400.5L, 0.0L, 0.0L, 0.0L, false},
      {11357.5L, 0.0L, 0.0L, inf, false},
  };
  for (const Case& c : cases) {
    long double s = 0, co = 0;
    xsincos(c.x, &s, &co);
    const long double e = xexp(c.x);
    if ((c.trig && !(same(s, c.sin) && same(co, c.cos))) || !same(e, c.exp)) {
      std::printf("FAIL special %Lg: sin %Lg cos %Lg exp %Lg\n", c.x, s, co, e);
      ++failures;
    }
    ours.add(s);
    ours.add(co);
    ours.add(e);
  }
}

// xlog against logq rounded to double, on the float ranges the plot axis takes and beyond.
void check_xlog(Digest* axis, bool quiet) {
  long count = 0, correct = 0;
  double worst = 0, worst_arg = 0;
  for (int i = 0; i < 200000; ++i) {
    const double x = i % 2 ? static_cast<double>(static_cast<float>(log_uniform(-149, 128)))
                           : static_cast<double>(log_uniform(-1074, 1024));
    const double got = refx::xlog(std::fabs(x));
    const __float128 ref = logq(fabsq(x));
    const double nearest = static_cast<double>(ref);
    int e = 0;
    std::frexp(nearest, &e);
    const double err = static_cast<double>(fabsq(got - ref) / std::ldexp(1.0, e - 53));
    ++count;
    if (got == nearest) ++correct;
    if (err > worst) {
      worst = err;
      worst_arg = std::fabs(x);
    }
    axis->add(got);
  }
  const bool specials = std::isnan(refx::xlog(-1.0)) && refx::xlog(0.0) == -INFINITY &&
                        refx::xlog(INFINITY) == INFINITY && refx::xlog(1.0) == 0.0;
  if (!quiet)
    std::printf("%-28s %7ld args  worst %.6f ulp (at %.17g)  correctly rounded %.4f%%\n",
                "log (double)", count, worst, worst_arg,
                100.0 * static_cast<double>(correct) / static_cast<double>(count));
  if (!(worst < 0.51) || !specials) {
    std::printf("FAIL xlog: error of %.4f ulp at %.17g, special values %s\n", worst, worst_arg,
                specials ? "right" : "wrong");
    ++failures;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool digest_only = argc > 1 && std::strcmp(argv[1], "--quiet") == 0;
  check_specials();

  run_sincos("|x|<=pi/4", generate(60000, [] { return uniform(-kPi / 4, kPi / 4); }));
  run_sincos("|x|<=2pi", generate(40000, [] { return uniform(-2 * kPi, 2 * kPi); }));
  run_sincos("|x|<=700", generate(40000, [] { return uniform(-700.0L, 700.0L); }));
  run_sincos("x<2^20", generate(20000, [] { return uniform(0.0L, 0x1p20L); }));
  run_sincos("2^20<=x<2^21", generate(5000, [] { return uniform(0x1p20L, 0x1p21L); }));
  run_sincos("2^-80<=|x|<2^16384", generate(60000, [] { return log_uniform(-80, 16384); }));
  run_sincos("subnormal", generate(2000, [] { return log_uniform(-16445, -16382); }));
  {
    std::vector<long double> v;
    const long double rn2 = 32768.0L;
    for (long k = 0; k < 32768; ++k) v.push_back(k * kPi / rn2);
    run_sincos("twiddles N=65536", v);
  }
  {
    std::vector<long double> v;
    for (long k = 0; k <= 10000; ++k) {
      v.push_back(k * kPi / 10000.0L);
      v.push_back(2.0L * k * kPi / 10000.0L);
    }
    run_sincos("window shapes", v);
  }
  run_sincos("degrees", generate(20000, [] { return uniform(-180.0L, 180.0L) * kPi / 180.0L; }));
  std::vector<long double> turns, decays;
  butterworth_args(&turns, &decays);
  run_sincos("Butterworth", turns);
  {
    // the long double nearest n pi/2 and its neighbours: small n, n near 2^63 and beyond
    std::vector<long double> v;
    auto around = [&v](long double x) {
      long double y = x;
      for (int i = 0; i < 3; ++i) y = nextafterl(y, 0.0L);
      for (int i = 0; i < 7; ++i, y = nextafterl(y, INFINITY)) v.push_back(y);
    };
    const __float128 pio2 = acosq(0);  // pi/2
    for (long n = 1; n <= 2000; ++n) around(static_cast<long double>(n * pio2));
    for (int i = 0; i < 1000; ++i) {
      const __float128 n = static_cast<__float128>((next_u64() >> 2) | (1ull << 62)) * 2;
      around(static_cast<long double>(n * pio2));
    }
    for (const HardCase& h : kHardCases)
      around(std::ldexp(static_cast<long double>(h.significand), h.exponent));
    run_sincos("near n pi/2", v);
  }

  run_exp("|x|<=ln2/128", generate(20000, [] { return uniform(-0.0054L, 0.0054L); }));
  run_exp("|x|<=1", generate(40000, [] { return uniform(-1.0L, 1.0L); }));
  run_exp("|x|<=50", generate(40000, [] { return uniform(-50.0L, 50.0L); }));
  run_exp("dB -1000..100", generate(40000, [] {
            return static_cast<long double>(static_cast<float>(std::log(10.0))) *
                   uniform(-1000.0L, 100.0L) / 20.0L;
          }));
  run_exp("Butterworth", decays);
  run_exp("whole range", generate(40000, [] { return uniform(-11400.0L, 11357.0L); }));
  run_exp("near overflow", generate(5000, [] { return uniform(11354.0L, 11356.6L); }));
  run_exp("subnormal results", generate(10000, [] { return uniform(-11400.0L, -11354.0L); }));
  run_exp("2^-80<=|x|<1", generate(20000, [] { return log_uniform(-80, 0); }));
  run_exp("subnormal args", generate(1000, [] { return log_uniform(-16445, -16382); }));
  run_exp("near j ln2/64", generate(10000, [] {
            const long double k = std::floor(uniform(-1.0e6L, 1.0e6L));
            return static_cast<long double>(k * (logq(2) / 64)) *
                   (1 + uniform(-0x1p-60L, 0x1p-60L));
          }));

  long total = 0, correct = 0;
  double worst = 0;
  for (const Stats& s : all) {
    total += s.count;
    correct += s.correct;
    worst = std::max(worst, s.worst);
    if (!digest_only)
      std::printf("%-28s %7ld args  worst %.6f ulp (at %.21Lg)  correctly rounded %.4f%%\n",
                  s.name.c_str(), s.count, s.worst, s.worst_arg,
                  100.0 * static_cast<double>(s.correct) / static_cast<double>(s.count));
    // The kernels' own error is a few thousandths of a unit, so any result more than 0.51
    // units away, or more than one in a thousand misrounded in any range, is a fault.
    const double share = static_cast<double>(s.correct) / static_cast<double>(s.count);
    if (!(s.worst < 0.51) || share < 0.999) {
      std::printf("FAIL %s: error of %.4f ulp at %.21Lg, %.4f%% correctly rounded\n",
                  s.name.c_str(), s.worst, s.worst_arg, 100.0 * share);
      ++failures;
    }
  }
  if (!digest_only)
    for (const Stats& s : library)
      std::printf("C library %-24s worst %.4g ulp (at %.21Lg)  correctly rounded %.4f%%\n",
                  s.name.c_str(), s.worst, s.worst_arg,
                  100.0 * static_cast<double>(s.correct) / static_cast<double>(s.count));
  // The plot axis takes xlog and the C library's double exp, the latter for n ln10 only.
  Digest axis;
  for (int n = -50; n <= 50; ++n)
    axis.add(std::exp(
        static_cast<double>(n * static_cast<long double>(static_cast<float>(std::log(10.0))))));
  check_xlog(&axis, digest_only);
  const double share = 100.0 * static_cast<double>(correct) / static_cast<double>(total);
  std::printf("all: %ld results, worst %.6f ulp, correctly rounded %.4f%%\n", total, worst, share);
  std::printf("xmath digest %016" PRIx64 "\n", ours.h);
  std::printf("libm digest %016" PRIx64 "\n", libm.h);
  std::printf("axis digest %016" PRIx64 "\n", axis.h);
  std::printf("%s\n", failures == 0 ? "xmath check passed" : "xmath check FAILED");
  return failures == 0 ? 0 : 1;
}
