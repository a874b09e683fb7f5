#include "PageJson.h"

#include <cstdio>

namespace sweepdraw::page {

void Json::beforeValue()
{
    if (m_comma)
        m_out += ',';
    m_comma = true;
}

Json &Json::open(char bracket)
{
    beforeValue();
    m_out += bracket;
    m_comma = false;
    return *this;
}

Json &Json::close(char bracket)
{
    m_out += bracket;
    m_comma = true;
    return *this;
}

Json &Json::key(const char *name)
{
    text(name);
    m_out += ':';
    m_comma = false;
    return *this;
}

Json &Json::number(double value)
{
    beforeValue();
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.17g", value);
    m_out += digits;
    return *this;
}

Json &Json::text(std::string_view value)
{
    beforeValue();
    m_out += '"';
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_out += '\\';
            m_out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            m_out += escaped;
        } else {
            m_out += c;
        }
    }
    m_out += '"';
    return *this;
}

Json &Json::boolean(bool value)
{
    return raw(value ? "true" : "false");
}

Json &Json::null()
{
    return raw("null");
}

Json &Json::raw(std::string_view json)
{
    beforeValue();
    m_out += json;
    return *this;
}

} // namespace sweepdraw::page
