#pragma once

#include <string>
#include <string_view>

namespace sweepdraw::page {

// Writes the JSON the page's C interface answers with, a piece at a time:
// objects and arrays opened and closed, keys, and values, the commas
// between them put in as they come.
class Json final
{
public:
    Json &open(char bracket);  // '{' or '['
    Json &close(char bracket); // '}' or ']'
    // The key of the value written next, inside an object.
    Json &key(const char *name);
    Json &number(double value); // exactly, in the fewest digits that read back the same
    Json &text(std::string_view value);
    Json &boolean(bool value);
    Json &null();
    // `json`, written already.
    Json &raw(std::string_view json);

    const std::string &str() const { return m_out; }

private:
    void beforeValue();

    std::string m_out;
    bool m_comma = false; // whether a value has come before, at this depth
};

} // namespace sweepdraw::page
