#pragma once

#include "RuntimeError.h"

#include <cstdio>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace sweepdraw::machine {

// What RoutineMachine makes of C++'s undefined behaviour: the operations
// it checks, and the run-time error each throws.

// A run-time error found inside the machine's loop, before its line is
// known: the machine names it.
[[noreturn]] inline void fail(FaultKind fault, std::vector<std::string> values)
{
    throwFault(fault, std::move(values));
}

// A surface's refusal, its status passed in registers: the machine's
// own check of it keeps the status out of memory until it fails.
[[noreturn]] [[gnu::noinline]] inline void refused(Status status)
{
    throwRuntimeError(status);
}

// Converts as static_cast does, for the values where C++ defines it.
template <typename To>
To checkedConversion(double value, const char *type)
{
    // -2^31 - 1 is a double, and truncates to no int; -2^63 - 1 is none.
    constexpr double low = static_cast<double>(std::numeric_limits<To>::min()) - (sizeof(To) < 8 ? 1 : 0);
    constexpr double high = static_cast<double>(std::numeric_limits<To>::max()) + 1; // 2^31 or 2^63
    const bool inRange = sizeof(To) < 8 ? value > low && value < high : value >= low && value < high;
    if (!inRange) [[unlikely]] {
        char text[32];
        std::snprintf(text, sizeof text, "%.9g", value);
        fail(FaultKind::OutOfRange, {type, text});
    }
    return static_cast<To>(value);
}

// Whether `b` is 0 or -1, the divisors that need a look, in one test.
template <typename T>
[[gnu::always_inline]] inline bool zeroOrMinusOne(T b)
{
    return static_cast<std::make_unsigned_t<T>>(b) + 1 <= 1;
}

template <typename T>
[[gnu::always_inline]] inline T divided(T a, T b, const char *type)
{
    if (zeroOrMinusOne(b)) [[unlikely]] {
        if (b == 0)
            fail(FaultKind::DivisionByZero, {type});
        if (a == std::numeric_limits<T>::min())
            fail(FaultKind::DivisionOverflows, {type});
        return -a;
    }
    return a / b;
}

template <typename T>
[[gnu::always_inline]] inline T remainder(T a, T b, const char *type)
{
    if (zeroOrMinusOne(b)) [[unlikely]] {
        if (b == 0)
            fail(FaultKind::RemainderByZero, {type});
        if (a == std::numeric_limits<T>::min())
            fail(FaultKind::RemainderOverflows, {type});
        return 0;
    }
    return a % b;
}

[[noreturn]] inline void overflows(FaultKind operation, const char *type)
{
    fail(operation, {type});
}

} // namespace sweepdraw::machine
