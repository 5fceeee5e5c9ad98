#pragma once
// x87 80-bit extended values as bytes: 64-bit significand with explicit integer bit,
// then 15-bit exponent and sign, little-endian. Built by arithmetic, never by copying
// a long double's memory, so it is the same whatever sizeof(long double) is.
#include <cstdio>

namespace refx {

constexpr int kFloat80Bytes = 10;

void encode_float80(long double value, unsigned char out[kFloat80Bytes]);
long double decode_float80(const unsigned char in[kFloat80Bytes]);

// One stored value of `width` bytes (10, or 12 with two padding bytes written as zero
// and ignored on reading). read_float80 is false when the file ends inside the value.
bool write_float80(std::FILE* file, long double value, int width);
bool read_float80(std::FILE* file, long double* value, int width);

}  // namespace refx
