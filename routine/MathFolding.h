#pragma once

#include "Library.h"

#include <optional>

namespace sweepdraw {

// A call of <cmath> on constants worked out as GCC works it out while it
// compiles (with -O2 or without): with MPFR, correctly rounded to the
// precision of the call's type, where glibc at run time may be an ulp or
// more away. `onFloat` for the float overloads (sinf), the arguments then
// floats held as doubles; `b` is read by the functions of two arguments
// alone.
//
// Nothing, as GCC leaves the call to run time too, where the result would
// not be a finite number of the type exactly (a NaN, an overflow, an
// argument outside the function's domain), and for the functions whose
// result is exact anyway (fabs, floor, ceil, round, trunc), as it is in a
// build without MPFR.
std::optional<double> foldedByCompiler(const MathFunction &function, bool onFloat, double a, double b);

} // namespace sweepdraw
