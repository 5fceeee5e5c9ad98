#pragma once
// The actions of the reflection removal menu, one per key. Each reads what it needs
// through the console, acts on the program state and reports through rrc_error and
// its own messages.
#include "console/console.h"

namespace refx {

struct Program;

// Compression filter generation and its settings.
void generate_filter(Program& p, Console& con);           // G
void toggle_fmax_compress(Program& p, Console& con);      // E
void set_fmax_compress(Program& p, Console& con);         // N
void toggle_phase_method(Program& p, Console& con);       // M
void set_phase_average_points(Program& p, Console& con);  // O
void set_phase_compensation(Program& p, Console& con);    // U
void toggle_minimum_phase(Program& p, Console& con);      // H

// The phase compensation factor is held to this size: the phase slope then reaches at most
// 10^4 half turns per bin, and the half turns to the Nyquist bin stay within a 32-bit long
// for every transform length.
constexpr long double kMaxPhaseCompensation = 1e4L;

// Optional low-pass filter.
void toggle_lpf(Program& p, Console& con);                   // L
void set_lpf_parameters(Program& p, Console& con);           // P
void toggle_lpf_type(Program& p, Console& con);              // Y
void apply_lpf(Program& p, Console& con);                    // A
void apply_inverse_lpf(Program& p, Console& con);            // B
void toggle_lpf_inverse_limiting(Program& p, Console& con);  // J
void set_lpf_inverse_limit(Program& p, Console& con);        // K

// Compression, de-compression and their settings.
void compress_waveform(Program& p, Console& con);           // C
void decompress_waveform(Program& p, Console& con);         // D
void set_interval(Program& p, Console& con);                // I
void toggle_interval_type(Program& p, Console& con);        // T
void toggle_endpoint_correction(Program& p, Console& con);  // Z
void toggle_fmax_decompress(Program& p, Console& con);      // F
void set_fmax_decompress(Program& p, Console& con);         // X

}  // namespace refx
