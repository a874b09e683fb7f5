#include "RuntimeError.h"

#include <cstdarg>
#include <cstdio>

namespace sweepdraw {

std::string Status::message() const
{
    if (ok())
        return "ok";
    if (!m_hasValue)
        return m_what;
    char value[32];
    std::snprintf(value, sizeof value, "%.9g", static_cast<double>(m_value));
    return std::string(m_what) + " (got " + value + ")";
}

void throwRuntimeError(const char *format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw RuntimeError(text);
}

void throwRuntimeError(const Status &status)
{
    throw RuntimeError(status.message());
}

} // namespace sweepdraw
