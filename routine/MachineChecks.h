#pragma once

#include "RoutineFault.h"
#include "RuntimeError.h"

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace sweepdraw::machine {

// What RoutineMachine makes of C++'s undefined behaviour: the operations
// it checks, and the run-time error each throws.

// A run-time error found inside the machine's loop, before its line is
// known: the machine names it.
class RunFault final : public RuntimeError
{
public:
    RunFault(RoutineFault fault, std::vector<std::string> values)
        : RuntimeError(withValues(englishOf(fault), values))
        , fault(fault)
        , values(std::move(values))
    {
    }

    RoutineFault fault;
    std::vector<std::string> values;
};

[[noreturn]] inline void fail(RoutineFault fault, std::vector<std::string> values)
{
    throw RunFault(fault, std::move(values));
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
        fail(RoutineFault::OutOfRange, {type, text});
    }
    return static_cast<To>(value);
}

template <typename T>
[[gnu::always_inline]] inline T divided(T a, T b, const char *type)
{
    if (b == 0) [[unlikely]]
        fail(RoutineFault::DivisionByZero, {type});
    if (b == -1 && a == std::numeric_limits<T>::min()) [[unlikely]]
        fail(RoutineFault::DivisionOverflows, {type});
    return a / b;
}

template <typename T>
[[gnu::always_inline]] inline T remainder(T a, T b, const char *type)
{
    if (b == 0) [[unlikely]]
        fail(RoutineFault::RemainderByZero, {type});
    if (b == -1 && a == std::numeric_limits<T>::min()) [[unlikely]]
        fail(RoutineFault::RemainderOverflows, {type});
    return a % b;
}

[[noreturn]] inline void overflows(RoutineFault operation, const char *type)
{
    fail(operation, {type});
}

} // namespace sweepdraw::machine
