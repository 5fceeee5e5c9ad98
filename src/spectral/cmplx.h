#pragma once
// Complex arithmetic in extended precision, by value.

namespace refx {

struct cmplx {
  long double re;
  long double im;
};

cmplx cadd(cmplx cnum1, cmplx cnum2);
cmplx csub(cmplx cnum1, cmplx cnum2);
cmplx cmul(cmplx cnum1, cmplx cnum2);
// No test for a zero divisor.
cmplx cdiv(cmplx cnum, cmplx cdnom);

}  // namespace refx
