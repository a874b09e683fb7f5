#pragma once

#include "Fault.h"
#include "Status.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace sweepdraw {

// The one error type of the program: a drawing command that cannot go on.
// It carries its fault as data, with the file whose line it names when the
// place is known; what() is the fault in its technical form
// (FaultMessage::technical), where it is as compilers write it. Whoever
// shows it to a person words it from the data.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(FaultMessage message, std::string fileName = {});

    const FaultMessage &message() const { return m_message; }
    const std::string &fileName() const { return m_fileName; }
    // Whether it names its place already.
    bool located() const { return !m_fileName.empty(); }

private:
    FaultMessage m_message;
    std::string m_fileName;
};

// Throw RuntimeError for `kind` with its values, or with numbers as its
// values. Kept out of line so that the code paths that may throw stay small.
[[noreturn]] void throwFault(FaultKind kind, std::vector<std::string> values = {});
[[noreturn]] void throwNumberFault(FaultKind kind, std::initializer_list<long long> numbers);

[[noreturn]] void throwRuntimeError(const Status &status);

// The single place where a failing surface status becomes an error: every
// scene passes each status it receives straight through here.
inline void check(const Status &status)
{
    if (!status.ok()) [[unlikely]]
        throwRuntimeError(status);
}

} // namespace sweepdraw
