#pragma once
// Complex arithmetic in extended precision, by value; inline, as the per-bin loops call
// them millions of times.

namespace refx {

struct cmplx {
  long double re;
  long double im;
};

inline cmplx cadd(cmplx cnum1, cmplx cnum2) {
  return {cnum1.re + cnum2.re, cnum1.im + cnum2.im};
}

inline cmplx csub(cmplx cnum1, cmplx cnum2) {
  return {cnum1.re - cnum2.re, cnum1.im - cnum2.im};
}

inline cmplx cmul(cmplx cnum1, cmplx cnum2) {
  return {cnum1.re * cnum2.re - cnum1.im * cnum2.im, cnum1.re * cnum2.im + cnum1.im * cnum2.re};
}

// No test for a zero divisor.
cmplx cdiv(cmplx cnum, cmplx cdnom);

}  // namespace refx
