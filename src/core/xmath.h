#pragma once
// Sine, cosine and exponential in long double, computed by our own code from plain
// arithmetic so that both programs get the same bits: the C libraries differ (one uses the
// x87 fsin/fcos instructions, whose error reaches thousands of units in the last place).
// Error below one unit in the last place for every argument; almost all results are the
// correctly rounded ones.

namespace refx {

// Both at once (one argument reduction). NaN and infinite arguments give NaN.
void xsincos(long double x, long double* sin_x, long double* cos_x);
long double xsin(long double x);
long double xcos(long double x);
long double xexp(long double x);

// Natural logarithm of a double (the plot axis works in double), computed in long double and
// rounded once to double: the two C libraries' log differ in the last bit for some arguments.
double xlog(double x);

}  // namespace refx
