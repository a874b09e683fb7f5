#include "Commands.h"

#include <array>

namespace sweepdraw {

namespace {

struct CommandName
{
    const char *name;
    const char *caption;
    Button button;
};

constexpr std::array<CommandName, 5> kCommandNames = {{
    {"mountains", "高山", Button::CmdGs},
    {"water", "流水", Button::Cmdls},
    {"sunshine", "阳光", Button::Cmdyg},
    {"bridge", "大桥", Button::CmdDq},
    {"clear", "清除", Button::CmdCls},
}};

} // namespace

std::optional<Button> commandByName(const QString &name)
{
    for (const CommandName &command : kCommandNames) {
        if (name == QLatin1String(command.name) || name == QString::fromUtf8(command.caption))
            return command.button;
    }
    return std::nullopt;
}

QStringList commandNames()
{
    QStringList names;
    for (const CommandName &command : kCommandNames)
        names << QString::fromLatin1(command.name);
    return names;
}

} // namespace sweepdraw
