#pragma once

#include <string>

namespace sweepdraw {

// The outcome of one surface operation. Success carries nothing; a failure
// carries a fixed description of what was wrong and the offending value, so
// that building a status never allocates. The text is only put together when
// a failure is turned into an error message.
class [[nodiscard]] Status
{
public:
    constexpr Status() noexcept = default;

    // `what` must be a string with static storage duration, for example
    // "PlotPoint: x is not a finite number".
    static constexpr Status failure(const char *what, float value) noexcept
    {
        return Status(what, value, true);
    }
    static constexpr Status failure(const char *what) noexcept
    {
        return Status(what, 0.0f, false);
    }

    constexpr bool ok() const noexcept { return m_what == nullptr; }

    // "PlotPoint: x is not a finite number (got nan)", or "ok".
    std::string message() const;

private:
    constexpr Status(const char *what, float value, bool hasValue) noexcept
        : m_what(what), m_value(value), m_hasValue(hasValue)
    {
    }

    const char *m_what = nullptr;
    float m_value = 0.0f;
    bool m_hasValue = false;
};

} // namespace sweepdraw
