#pragma once
#include "console/console.h"

namespace refx {

struct Program;

// The FFT menu: transforms, combinations, files, averaging settings and plots of the two
// FFT slots. Returns on Q.
void fft_menu(Program& p, Console& con);

}  // namespace refx
