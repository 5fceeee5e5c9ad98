// The transform plan against the stage-by-stage reference, byte for byte: every output, the
// arrays left behind and the largest magnitude, for all modes and sizes, on inputs chosen to
// expose any change of operation order (signed zeros, subnormals, overflow, NaN and
// infinity), with one and with several worker threads.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/worker_pool.h"
#include "spectral/fft.h"
#include "support/reference_fft.h"

namespace refx {
namespace {

const long double kPi = 3.14159265358979323851L;
using Values = std::vector<long double>;

// The 10 value bytes of the x87 format; the padding after them holds nothing.
bool same_bits(long double a, long double b) {
  return std::memcmp(&a, &b, 10) == 0;
}

// Index of the first value whose bits differ, or -1.
long first_difference(const Values& a, const Values& b) {
  for (std::size_t k = 0; k < a.size(); ++k)
    if (!same_bits(a[k], b[k])) return static_cast<long>(k);
  return -1;
}

struct Outcome {
  Values xr, xi, yr, yi;
  long double max_mag;
};

Outcome run_reference(int mode, const Values& re, const Values& im) {
  const long n = static_cast<long>(re.size());
  const long stages = log2_by_doubling(n);
  Values c(n / 2 + 1), s(n / 2 + 1);
  reference_twiddle_tables(n, kPi, c.data(), s.data());
  Outcome o{re, im, Values(n, 7.0L), Values(n, -7.0L), 3.0L};
  reference_fft(mode, &n, &stages, o.xr.data(), o.xi.data(), o.yr.data(), o.yi.data(), c.data(),
                s.data(), &o.max_mag);
  return o;
}

Outcome run_plan(int mode, const Values& re, const Values& im) {
  const long n = static_cast<long>(re.size());
  Outcome o{re, im, Values(n, 7.0L), Values(n, -7.0L), 3.0L};
  transform_plan(n, kPi).run(mode, o.xr.data(), o.xi.data(), o.yr.data(), o.yi.data(), &o.max_mag);
  return o;
}

void expect_identical(int mode, const Values& re, const Values& im, const std::string& what) {
  SCOPED_TRACE(what + " N=" + std::to_string(re.size()) + " mode " + std::to_string(mode));
  const Outcome want = run_reference(mode, re, im);
  const Outcome got = run_plan(mode, re, im);
  EXPECT_EQ(first_difference(got.yr, want.yr), -1) << "real output";
  EXPECT_EQ(first_difference(got.yi, want.yi), -1) << "imaginary output";
  EXPECT_EQ(first_difference(got.xr, want.xr), -1) << "real input array left behind";
  EXPECT_EQ(first_difference(got.xi, want.xi), -1) << "imaginary input array left behind";
  EXPECT_TRUE(same_bits(got.max_mag, want.max_mag)) << got.max_mag << " vs " << want.max_mag;
}

// The inputs of one size: random, impulse, signed zeros, subnormals, huge and non-finite.
std::vector<std::pair<std::string, std::pair<Values, Values>>> inputs(long n,
                                                                      std::mt19937_64& gen) {
  std::uniform_real_distribution<long double> unit(-1, 1);
  std::vector<std::pair<std::string, std::pair<Values, Values>>> all;
  auto fill = [&](auto value) {
    Values re(n), im(n);
    for (long k = 0; k < n; ++k) re[k] = value(k, 0), im[k] = value(k, 1);
    return std::make_pair(re, im);
  };
  const int repeats = n <= 1024 ? 4 : 1;
  for (int r = 0; r < repeats; ++r)
    all.push_back({"random", fill([&](long, int) { return unit(gen); })});
  all.push_back(
      {"impulse", fill([](long k, int part) { return k == 0 && part == 0 ? 1.0L : 0.0L; })});
  all.push_back({"signed zeros", fill([&](long, int) { return gen() % 2 ? -0.0L : 0.0L; })});
  all.push_back({"negative zeros", fill([](long, int) { return -0.0L; })});
  const long double tiny = std::numeric_limits<long double>::denorm_min();
  all.push_back({"subnormal", fill([&](long, int) {
                   return static_cast<long double>(static_cast<long>(gen() % 2001) - 1000) * tiny;
                 })});
  all.push_back({"huge", fill([&](long, int) { return unit(gen) * (LDBL_MAX / 4); })});
  const long double inf = std::numeric_limits<long double>::infinity();
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  all.push_back({"non-finite", fill([&](long, int) {
                   const unsigned pick = gen() % 16;
                   return pick == 0 ? inf : pick == 1 ? -inf : pick == 2 ? nan : unit(gen);
                 })});
  all.push_back({"one infinity", fill([&](long k, int part) {
                   return k == n / 3 && part == 1 ? -inf : unit(gen);
                 })});
  return all;
}

// Subnormal and non-finite operands are slow on the x87, so above 4096 points each size
// takes every input in one mode (a different one per size) and the random input in all.
TEST(TransformIdentity, PlanMatchesReferenceOnEveryInputSizeAndMode) {
  std::mt19937_64 gen(14);
  for (long n = 1, size = 0; n <= 65536; n *= 2, ++size)
    for (const auto& [what, x] : inputs(n, gen))
      for (int mode : {0, 1, 2})
        if (n <= 4096 || what == "random" ||
            (mode == size % 3 && (n <= 16384 || what != "subnormal")))
          expect_identical(mode, x.first, x.second, what);
}

// The same with the butterflies of each pass split over one and over three threads.
TEST(TransformIdentity, ThreadCountDoesNotChangeABit) {
  for (int threads : {1, 3}) {
    SCOPED_TRACE(threads);
    restart_worker_pool(threads);
    std::mt19937_64 gen(41);
    for (long n : {8192L, 65536L})
      for (const auto& [what, x] : inputs(n, gen))
        if (what != "subnormal") expect_identical(n == 8192 ? 1 : 0, x.first, x.second, what);
  }
  restart_worker_pool(configured_threads());
}

TEST(TransformIdentity, TablesAreTheReferenceTablesAndPlansAreKept) {
  for (long n = 2; n <= 65536; n *= 2) {
    Values c(n / 2), s(n / 2);
    reference_twiddle_tables(n, kPi, c.data(), s.data());
    const FftPlan& plan = transform_plan(n, kPi);
    EXPECT_EQ(plan.stages(), log2_by_doubling(n));
    EXPECT_EQ(first_difference(Values(plan.cos_table(), plan.cos_table() + n / 2), c), -1) << n;
    EXPECT_EQ(first_difference(Values(plan.sin_table(), plan.sin_table() + n / 2), s), -1) << n;
    EXPECT_EQ(&transform_plan(n, kPi), &plan) << "a second request builds the plan again";
  }
}

}  // namespace
}  // namespace refx
