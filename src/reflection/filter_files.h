#pragma once
// Compression filter files: text (i_rw_bin_ascii 2) and binary (1), one record per bin
// holding the bin frequency and the filter's real and imaginary parts.
#include <string>

#include "console/console.h"
#include "core/samples.h"

namespace refx {

struct Program;

// Asks for a file name (one word) and a comment, and writes nptst bins with frequency
// spacing delf. rrc_error becomes 1 when the operator gives up at the retry prompt or the
// file could not be written completely; otherwise it is left as it was.
void save_rrc_filter(Program& p, Console& con, std::string& rrc_filt_save_filename,
                     const Samples& Re_rrc_filt, const Samples& Im_rrc_filt, long double delf,
                     long nptst);

// Asks for a file name (one word) and reads up to num_meas_points records. Only a complete
// read (all num_meas_points records) replaces the filter entries and the name in
// rrc_filt_filename; on Q, an empty or a short file they stay exactly as they were and
// rrc_error becomes 1. num receives the number of complete records, delf the spacing of the
// first two (left alone when fewer than two came).
void read_rrc_filt(Program& p, Console& con, std::string& rrc_filt_filename, Samples& Re_rrc_filt,
                   Samples& Im_rrc_filt, long double* delf, long* num);

}  // namespace refx
