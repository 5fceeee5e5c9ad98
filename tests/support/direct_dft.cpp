#include "support/direct_dft.h"

#include <cmath>

namespace refx {

std::vector<Cx> direct_dft(const std::vector<Cx>& x, int sign) {
  const long n = static_cast<long>(x.size());
  const long double two_pi = 6.283185307179586476925286766559005768L;
  std::vector<Cx> table(n);
  for (long m = 0; m < n; ++m) {
    const long double a = sign * two_pi * static_cast<long double>(m) / n;
    table[m] = Cx(std::cos(a), std::sin(a));
  }
  std::vector<Cx> out(n);
  for (long k = 0; k < n; ++k) {
    Cx sum = 0;
    for (long m = 0; m < n; ++m) sum += x[m] * table[(k * m) % n];
    out[k] = sum;
  }
  return out;
}

std::vector<Cx> direct_dft_real(const long double* x, long n, int sign) {
  std::vector<Cx> in(x, x + n);
  return direct_dft(in, sign);
}

}  // namespace refx
