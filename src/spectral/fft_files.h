#pragma once
// Saving an FFT slot to a file and reading one back, in the format the main menu's
// toggle selects: text of frequency, dB magnitude and phase, or binary of frequency,
// real and imaginary part.
#include "console/console.h"

namespace refx {

struct Program;

// Writes bins 0..*num_pts-1 with frequencies k * *delf. Asks for the name and a comment;
// Q at the retry prompt abandons the save with nothing written.
void save_fft(Program& p, Console& con, int ifft, const long double* fftr, const long double* ffti,
              const long double* fftnmag, const long double* fftnph, const long double* delf,
              const long* num_pts);

// Reads at most num_meas_points records into the slot arrays and completes the other pair
// of arrays for every bin. *num receives the record count and *delf the step between the
// first two frequencies (left unchanged when the file holds fewer than two records).
// Q at the name prompt changes nothing; nor does a file holding a number that is not
// finite, or values whose spectrum is not finite (refused with a message and a pause).
void read_fft(Program& p, Console& con, int iwf, long double* fftr, long double* ffti,
              long double* fftnmag, long double* fftnph, long double* delf, long* num);

}  // namespace refx
