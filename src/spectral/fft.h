#pragma once
// The one radix-2 self-sorting (Stockham) transform every spectral operation uses, as a
// plan built once per size: it owns the twiddle tables and a scratch array pair.

#include <vector>

namespace refx {

struct TransformWork;

class FftPlan {
 public:
  // n is a power of two (1 included); the tables hold cos(k pi / (n/2)) and -sin(k pi / (n/2)).
  FftPlan(long n, long double pi);

  long size() const { return n_; }
  long stages() const { return nstage_; }
  const long double* cos_table() const { return cos_.data(); }
  const long double* sin_table() const { return sin_.data(); }

  // for_rev: 0 forward divided by N, 1 inverse not scaled, 2 forward not scaled (any other
  // value acts as 1). Reads xinr/xini and overwrites them (they hold the unscaled result on
  // return); writes fftr/ffti and the largest output magnitude. The four arrays are distinct.
  // Every output value is computed with the same operations in the same order as the
  // textbook stage-by-stage loop, so the bits do not depend on how the loops are arranged.
  void run(int for_rev, long double* xinr, long double* xini, long double* fftr, long double* ffti,
           long double* max_mag);

 private:
  long n_;
  long nstage_;
  std::vector<long double> cos_, sin_, neg_sin_;
  std::vector<long double> scratch_r_, scratch_i_;
};

// The plan for n points, built on the first request for n in this run and kept.
FftPlan& transform_plan(long n, long double pi);

// The plan for n points; also records n, n/2 and the stage count in the work area, as the
// table build always has.
FftPlan& prepare_transform(TransformWork& work, long n, long double pi);

// log2 of a power of two, by doubling a counter from 1 until it reaches n.
long log2_by_doubling(long n);

// cos_array[k] = cos(k pi / rn2), sin_array[k] = -sin(k pi / rn2) for k < n/2, rn2 = n/2.
void fill_twiddle_tables(long n, long double pi, long double* cos_array, long double* sin_array);

}  // namespace refx
