#include "spectral/cmplx.h"

namespace refx {

cmplx cdiv(cmplx cnum, cmplx cdnom) {
  long double denom = cdnom.re * cdnom.re + cdnom.im * cdnom.im;
  return {(cnum.re * cdnom.re + cnum.im * cdnom.im) / denom,
          (cnum.im * cdnom.re - cnum.re * cdnom.im) / denom};
}

}  // namespace refx
