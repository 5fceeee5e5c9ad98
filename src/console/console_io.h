#pragma once
// Prompt and value-entry routines shared by every menu, written once on the Console seam.
#include <cstdio>
#include <string>

#include "console/console.h"

namespace refx {

struct Program;

// printf-style output to the console; the C99 conversions (%Le) on every toolchain.
// clang (the fuzz build) knows the C99 checks only as "printf".
#if defined(__clang__)
#define REFX_PRINTF_CHECK(f, a) __attribute__((format(printf, f, a)))
#else
#define REFX_PRINTF_CHECK(f, a) __attribute__((format(gnu_printf, f, a)))
#endif
void con_printf(Console& con, const char* format, ...) REFX_PRINTF_CHECK(2, 3);

// Value entry: the target changes only when the typed text converts.
void get_real(Console& con, float* value);
void get_long_double(Console& con, long double* value);
void get_integer(Console& con, int* value);
void get_long_int(Console& con, long* value);

// Typed values that feed a computation: the target changes only when the text converts
// to a finite number of size at most `limit`. kNone: the text did not convert (no
// message, as the plain entries); kRefused: it converted to a value that is not finite
// or is too large, and the target kept its value.
enum class Entry { kNone, kValue, kRefused };
bool finite_within(long double value, long double limit);
Entry get_real_within(Console& con, float* value, float limit);
Entry get_long_double_within(Console& con, long double* value, long double limit);

// For a prompt that keeps the previous value on a refusal: says so (naming the range) and
// pauses. Returns true when the entry was refused.
bool report_kept(Program& p, Console& con, Entry entry, long double limit);

// The bound of typed values without a tighter one: far beyond any real setting, and any
// two of them multiply to a finite long double.
constexpr long double kTypedValueLimit = 1e300L;

// Vertical plot scales: their difference and every tic value stay finite in single precision.
constexpr float kPlotScaleLimit = 1e30f;

// Reads an integer until lo <= value <= hi, printing error_line after each value outside.
void get_integer_in_range(Console& con, int* value, int lo, int hi, const char* error_line);

// File-name answers: a read prompt takes a whole line (or a word, in the Windows build);
// a save prompt one word. Names are bounded to 255 characters.
constexpr std::size_t kNameChars = 255;
void read_name_line(Console& con, bool as_word, std::string& name);
void read_name_word(Console& con, std::string& name);
bool is_quit_answer(const std::string& answer);

// The first blank-delimited word of a line, as "%s" takes it; false when there is none.
bool first_word(const std::string& line, std::string& word, std::size_t max_chars);

// "Press any A/N key to continue\n" and one key.
void pause(Program& p, Console& con);

// Prints the prompt and reads a name (a whole line, or one word) until a file opens;
// "Error opening file <name>;" after each failure, and for anything but a regular file. Q or q
// returns null, nothing changed.
std::FILE* open_for_read(Console& con, const std::string& prompt, bool as_word, std::string& name,
                         const char* mode);

// Reads the comment line of a saved file (a whole line, or one word where the build says so).
void read_comment(Console& con, bool as_word, std::string& comment);

// A file that holds a number that is not finite is refused whole:
// "Error - file <name> holds <what> that is not a finite number; <outcome>\n".
void report_file_not_finite(Console& con, const std::string& name, const char* what,
                            const std::string& outcome);

// Skips characters of a text file up to and including the next newline.
void to_next_line(std::FILE* input_file_nl);

}  // namespace refx
