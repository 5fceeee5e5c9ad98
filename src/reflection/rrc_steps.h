#pragma once
// Steps shared by the reflection removal actions: prompts, pauses, the source and
// destination of an operation with the status carried between them, gathering a
// source waveform and storing a transformed result.
#include "console/console.h"

namespace refx {

struct Program;

// Prints the text and refreshes.
void say(Console& con, const char* text);

// "Press any A/N key to continue:\n" and one key (the variant after warnings).
void pause_colon(Program& p, Console& con);

// Prints the prompt once and reads an integer until it is 1 or 2.
void read_waveform_number(Console& con, const char* prompt, int* number);

// The point count must be a power of two; otherwise prints why, waits, sets rrc_error
// and returns false. Always true after a successful start-up.
bool points_are_power_of_two(Program& p, Console& con);

// The destination's status before an operation, so a refused one can put it back.
struct DestinationMarks {
  long i_shift_wf;
  long i_truncatet;
  long double scale_wf;
};

// Reads rrc_src and rrc_dest with the two prompts, then carries the source's shift and
// scale to the other slot and clears the destination's truncation (before the source is
// read, so a slot written onto itself counts as untruncated). Returns the marks the
// destination had before.
DestinationMarks read_source_and_destination(Program& p, Console& con, const char* src_prompt,
                                             const char* dest_prompt);
void restore_destination_marks(Program& p, const DestinationMarks& marks);

// xinr = the source samples below its truncation point, 0 beyond; xini = 0.
void gather_truncated_source(Program& p);

// True when every real and imaginary part of the inverse transform (fftr, ffti) is finite.
bool result_is_finite(const Program& p);

// The destination's samples = fftr; true when some |ffti| exceeds 1e-8.
bool store_result(Program& p);

// Refusal of a result that is not finite, before the destination is written: message,
// pause, rrc_error, and the destination's status put back.
void refuse_not_finite(Program& p, Console& con, const DestinationMarks& marks);

// Refusal of a division by an exactly zero bin: message, pause, rrc_error, and the
// destination's status put back (its samples were never written).
void refuse_zero_divisor(Program& p, Console& con, const DestinationMarks& marks);

}  // namespace refx
