#include "Fault.h"

#include "MessageText.h"

namespace sweepdraw {

namespace {

// A phrase() value begins with this, a control character that an escaped
// value never holds.
constexpr char kPhrase = '\x1e';

} // namespace

std::string phrase(FaultKind kind)
{
    return kPhrase + std::to_string(static_cast<int>(kind));
}

std::optional<FaultKind> phraseIn(std::string_view value)
{
    if (value.empty() || value.front() != kPhrase)
        return std::nullopt;
    int kind = 0;
    for (const char digit : value.substr(1))
        kind = kind * 10 + (digit - '0');
    return static_cast<FaultKind>(kind);
}

std::string withValues(std::string_view wording, const std::vector<std::string> &values, KindWording words)
{
    std::string text;
    for (std::size_t at = 0; at < wording.size(); ++at) {
        const char next = at + 1 < wording.size() ? wording[at + 1] : '\0';
        if (wording[at] == '%' && next >= '1' && next <= '9') {
            const auto index = static_cast<std::size_t>(next - '1');
            if (index < values.size()) {
                const std::string &value = values[index];
                if (const std::optional<FaultKind> named = phraseIn(value))
                    text += words(*named);
                else
                    text += value;
            }
            ++at;
        } else {
            text += wording[at];
        }
    }
    return text;
}

std::string FaultMessage::technical() const
{
    std::string text = "fault " + std::to_string(static_cast<int>(kind));
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += i == 0 ? " (" : ", ";
        if (const std::optional<FaultKind> named = phraseIn(values[i]))
            text += "phrase " + std::to_string(static_cast<int>(*named));
        else
            text += values[i];
    }
    return values.empty() ? text : text + ')';
}

std::string FaultMessage::located(const std::string &fileName, const std::string &wording) const
{
    if (fileName.empty())
        return escapeForMessage(wording);
    std::string where = fileName;
    if (line > 0)
        where += ':' + std::to_string(line);
    if (line > 0 && column > 0)
        where += ':' + std::to_string(column);
    return escapeForMessage(where + ": error: " + wording);
}

std::string quotedForMessage(std::string_view text)
{
    return '\'' + escapeForMessage(text) + '\'';
}

} // namespace sweepdraw
