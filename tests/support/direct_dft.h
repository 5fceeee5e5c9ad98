#pragma once
// An independent oracle for the spectral tests: the plain O(N^2) discrete Fourier
// transform in long double, with each angle reduced exactly before the sine and cosine.
#include <complex>
#include <vector>

namespace refx {

using Cx = std::complex<long double>;

// X[k] = sum_m x[m] exp(sign * j 2 pi k m / n), not scaled.
std::vector<Cx> direct_dft(const std::vector<Cx>& x, int sign);

// The same for a real sequence of n values.
std::vector<Cx> direct_dft_real(const long double* x, long n, int sign);

}  // namespace refx
