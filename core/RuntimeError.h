#pragma once

#include "Status.h"

#include <stdexcept>
#include <string>

namespace sweepdraw {

// The one error type of the program: a drawing command that cannot go on.
// The message says what failed, with the value that made it fail.
class RuntimeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A run-time error whose message names where it happened already, as
// compilers write it: "FILE:LINE: error: what".
class LocatedError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// Throws RuntimeError with a printf-style message. Kept out of line so that
// the code paths that may throw stay small.
[[noreturn]] void throwRuntimeError(const char *format, ...)
    __attribute__((format(printf, 1, 2)));

[[noreturn]] void throwRuntimeError(const Status &status);

// The single place where a failing surface status becomes an error: every
// scene passes each status it receives straight through here.
inline void check(const Status &status)
{
    if (!status.ok()) [[unlikely]]
        throwRuntimeError(status);
}

} // namespace sweepdraw
