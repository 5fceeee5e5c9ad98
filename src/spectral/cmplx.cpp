#include "spectral/cmplx.h"

#include "spectral/power.h"

namespace refx {

cmplx cdiv(cmplx cnum, cmplx cdnom) {
  cmplx q;
  if (divide_complex(cnum.re, cnum.im, cdnom.re, cdnom.im, &q.re, &q.im)) return q;
  // A zero divisor gives what dividing by zero gives.
  const long double denom = cdnom.re * cdnom.re + cdnom.im * cdnom.im;
  return {(cnum.re * cdnom.re + cnum.im * cdnom.im) / denom,
          (cnum.im * cdnom.re - cnum.re * cdnom.im) / denom};
}

}  // namespace refx
