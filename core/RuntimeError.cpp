#include "RuntimeError.h"

#include <cstdio>

namespace sweepdraw {

namespace {

std::string numberText(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

} // namespace

FaultMessage Status::fault() const
{
    FaultMessage message{m_kind, {}, 0, 0};
    for (const char *name = m_names; name && *name;) {
        const char *end = name;
        while (*end && *end != ' ')
            ++end;
        message.values.emplace_back(name, end);
        name = *end ? end + 1 : end;
    }
    if (m_hasValue)
        message.values.push_back(numberText(m_value));
    return message;
}

std::string Status::message() const
{
    return ok() ? "ok" : fault().technical();
}

RuntimeError::RuntimeError(FaultMessage message, std::string fileName)
    : std::runtime_error(message.located(fileName, message.technical()))
    , m_message(std::move(message))
    , m_fileName(std::move(fileName))
{
}

void throwFault(FaultKind kind, std::vector<std::string> values)
{
    throw RuntimeError({kind, std::move(values), 0, 0});
}

void throwNumberFault(FaultKind kind, std::initializer_list<long long> numbers)
{
    std::vector<std::string> values;
    for (const long long number : numbers)
        values.push_back(std::to_string(number));
    throwFault(kind, std::move(values));
}

void throwRuntimeError(const Status &status)
{
    throw RuntimeError(status.fault());
}

} // namespace sweepdraw
