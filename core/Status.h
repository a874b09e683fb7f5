#pragma once

#include "Fault.h"

#include <string>

namespace sweepdraw {

// The outcome of one surface operation. Success carries nothing; a failure
// carries the kind of fault, the names it quotes and the offending value,
// in sixteen bytes, so that building a status never allocates and it comes
// back in registers. The fault's values are only put together when a
// failure is turned into an error.
class [[nodiscard]] Status
{
public:
    constexpr Status() noexcept = default;

    // `names` must be a string with static storage duration: the values the
    // kind quotes before `value`, separated by spaces, names from the code
    // and numbers, "PlotPoint x" or "SetPenWidth width 1000".
    static constexpr Status failure(FaultKind kind, const char *names, float value) noexcept
    {
        return Status(kind, names, value, true);
    }
    static constexpr Status failure(FaultKind kind, const char *names = "") noexcept
    {
        return Status(kind, names, 0.0f, false);
    }

    constexpr bool ok() const noexcept { return m_names == nullptr; }

    // The failure as data: its values the names, then the value.
    FaultMessage fault() const;
    // The failure in its technical form (FaultMessage::technical), or "ok",
    // for a test's note.
    std::string message() const;

private:
    constexpr Status(FaultKind kind, const char *names, float value, bool hasValue) noexcept
        : m_names(names), m_value(value), m_kind(kind), m_hasValue(hasValue)
    {
    }

    const char *m_names = nullptr;
    float m_value = 0.0f;
    FaultKind m_kind = FaultKind::StoppedHere;
    bool m_hasValue = false;
};

} // namespace sweepdraw
