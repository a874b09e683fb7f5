#pragma once

namespace sweepdraw {

// The remainder of a large argument divided by pi/2, for the sine and
// cosine (Trigonometry.cpp): x, held as `nx` pieces of 24 bits times
// 2^(e0 - 24*i), less the nearest multiple n of pi/2, in y[0] (prec 0,
// for floats) or y[0] + y[1] (prec 1, for doubles); returns n modulo 8.
// e0 is at most 1000, the exponent of the largest double less 23.
int remainderPiOver2Large(const double *x, double *y, int e0, int nx, int prec);

} // namespace sweepdraw
