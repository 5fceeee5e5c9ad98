#pragma once
// Magnitude in dB and phase in degrees of an FFT slot, with optional averaging of the
// dB magnitude over groups of bins.

namespace refx {

struct Program;

// The value of a bin or group whose power is not above zero.
constexpr long double kDbFloor = -1000.0L;

// Converts bins 0..*npts-1 and then, when p.fft.fft_mag_avg_mode is 1 or 2, replaces the
// magnitude of bins 1 up to the cutoff by the dB value of their group's mean power.
// Keeps each bin's power in p.fft.fft_mag_avg.
void calc_fft_mag_ph(Program& p, const long* npts, const long double* fftr, const long double* ffti,
                     long double* fftnmag, long double* fftnph);

// The conversion alone.
void calc_fft_mag_ph_no_avg(Program& p, const long* npts, const long double* fftr,
                            const long double* ffti, long double* fftnmag, long double* fftnph);

}  // namespace refx
